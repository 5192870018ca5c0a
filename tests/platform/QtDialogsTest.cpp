// The real dialogs on Qt's offscreen platform, answered by a timer that reads what the
// user would see and presses a button.
#include "platform/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs answer on the modal dialog once it is up.
void whenModal(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            answer(modal);
        }
    });
    poll->start(10);
}

struct SeenBox {
    QString title;
    QString text;
    QString defaultButton;
};

struct MessageCase {
    const char* name;
    const char* title;
    MessageButtons buttons;
    QMessageBox::StandardButton press;
    const char* expectedTitle;
    const char* expectedDefault;
    MessageAnswer expectedAnswer;
    friend void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }
};

class MessageBoxes : public ::testing::TestWithParam<MessageCase>
{};

TEST_P(MessageBoxes, TitleDefaultButtonAndAnswer)
{
    const MessageCase& c = GetParam();
    SeenBox seen;
    whenModal([&seen, press = c.press](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->defaultButton() ? box->defaultButton()->text() : QString()};
        box->button(press)->click();
    });
    QtDialogs dialogs;
    const MessageAnswer answer =
        dialogs.message(nullptr, QStringLiteral("範囲を選択してください。"), QString::fromUtf8(c.title), c.buttons);
    EXPECT_EQ(seen.title, QString::fromUtf8(c.expectedTitle));
    EXPECT_EQ(seen.text, QStringLiteral("範囲を選択してください。"));
    EXPECT_EQ(seen.defaultButton.remove(u'&'), QString::fromUtf8(c.expectedDefault));
    EXPECT_EQ(answer, c.expectedAnswer);
}

INSTANTIATE_TEST_SUITE_P(QtDialogs, MessageBoxes,
                         ::testing::Values(MessageCase{"OkWithoutTitle", "", MessageButtons::Ok, QMessageBox::Ok,
                                                       "Scrimble Ver3.1.0", "OK", MessageAnswer::Ok},
                                           MessageCase{"OkWithTitle", "確認", MessageButtons::Ok, QMessageBox::Ok,
                                                       "確認", "OK", MessageAnswer::Ok},
                                           MessageCase{"YesNoYes", "", MessageButtons::YesNo, QMessageBox::Yes,
                                                       "Scrimble Ver3.1.0", "Yes", MessageAnswer::Yes},
                                           MessageCase{"YesNoNo", "上書き", MessageButtons::YesNo, QMessageBox::No,
                                                       "上書き", "Yes", MessageAnswer::No}),
                         [](const auto& info) { return std::string(info.param.name); });

SaveFileRequest pictureRequest(const QString& folder)
{
    SaveFileRequest request;
    request.title = QStringLiteral("名前を付けて保存");
    request.filter = QStringLiteral("BMPファイル(*.bmp)|*.bmp|JPEGファイル(*.jpg)|*.jpg|PNGファイル(*.png)|*.png");
    request.filterIndex = 2;
    request.fileName = folder + QStringLiteral("/shot");
    request.defaultExtension = QStringLiteral("jpg");
    return request;
}

TEST(QtDialogs, SaveDialogShowsFiltersAndCancelGivesNothing)
{
    QTemporaryDir dir;
    QStringList filters;
    QString selected;
    QString title;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        selected = dialog->selectedNameFilter();
        title = dialog->windowTitle();
        dialog->reject();
    });
    QtDialogs dialogs;
    EXPECT_FALSE(dialogs.saveFile(nullptr, pictureRequest(dir.path())).has_value());
    EXPECT_EQ(title, QStringLiteral("名前を付けて保存"));
    EXPECT_EQ(filters, (QStringList{QStringLiteral("BMPファイル(*.bmp)"), QStringLiteral("JPEGファイル(*.jpg)"),
                                    QStringLiteral("PNGファイル(*.png)")}));
    EXPECT_EQ(selected, QStringLiteral("JPEGファイル(*.jpg)"));
}

TEST(QtDialogs, SaveDialogAnswersChosenFileAndFilter)
{
    QTemporaryDir dir;
    whenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->selectNameFilter(QStringLiteral("PNGファイル(*.png)"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QtDialogs dialogs;
    const auto answer = dialogs.saveFile(nullptr, pictureRequest(dir.path()));
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->fileName, dir.path() + QStringLiteral("/shot.jpg"));
    EXPECT_EQ(answer->filterIndex, 3);
}

TEST(QtDialogs, FolderCancelGivesNothing)
{
    QTemporaryDir dir;
    whenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    QtDialogs dialogs;
    EXPECT_FALSE(dialogs.chooseFolder(nullptr, QStringLiteral("フォルダの選択"), dir.path()).has_value());
}

}  // namespace
