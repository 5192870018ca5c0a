#include "QtDialogs.h"

#include "FileFilter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

// Compositors keep windows that bypass the window manager above every window they
// manage: a dialog over such a window (the capture panel on sway) bypasses it too.
void keepOverParent(QWidget& dialog, const QWidget* parent)
{
    if (parent && parent->window()->windowFlags().testFlag(Qt::X11BypassWindowManagerHint))
        dialog.setWindowFlag(Qt::X11BypassWindowManagerHint);
}

}  // namespace

MessageAnswer QtDialogs::message(QWidget* parent, const QString& text, const QString& title, MessageButtons buttons)
{
    QMessageBox box(parent);
    keepOverParent(box, parent);
    box.setWindowTitle(messageBoxTitle(title));
    box.setText(text);
    if (buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<SaveFileAnswer> QtDialogs::saveFile(QWidget* parent, const SaveFileRequest& request)
{
    QFileDialog dialog(parent, request.title);
    keepOverParent(dialog, parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    const QStringList filters = FileFilter::toQtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const auto chosen = filters.indexOf(dialog.selectedNameFilter());
    return SaveFileAnswer{dialog.selectedFiles().constFirst(), chosen < 0 ? 1 : static_cast<int>(chosen) + 1};
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* parent, const QString& title, const QString& startFolder)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, title, startFolder);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}
