// The capture mode's save and copy: the picture, or the selection of the frozen
// screen, written to the file the user names or put on the clipboard.
#include "CaptureMode.h"

#include "PanelFields.h"
#include "PixelRounding.h"
#include "formcom.h"
#include "gazou.h"
#include "platform/FileNameText.h"

void CaptureMode::save()
{
    updateSelection();
    const ShapeRect& shape = m_model.editor().shape();
    if (!IsSavableSelection(shape)) {
        reportSaveError(NoSelectionText());
        return;
    }
    const SaveSource source = sourceOfSave(shape);
    const SaveFileRequest request{tr("名前を付けて保存"),        SaveFilter(),
                                  m_saveDialog.filterIndex,      m_saveDialog.fileName,
                                  m_saveDialog.defaultExtension, true};
    if (const std::optional<SaveFileAnswer> answer = m_platform.dialogs->saveFile(m_panel.get(), request))
        writeSave(source, *answer);
    m_picture->show();
    m_panel->show();
    keepWindowsInFront();
}

// ColorMode 0: the picture as the picture window shows it, moved toward grey;
// ColorMode 1: the selection of the desktop copy at 1:1.
SaveSource CaptureMode::sourceOfSave(const ShapeRect& shape) const
{
    if (m_options.ColorMode == 0)
        return GreyedSource(DCtoDIB(m_model.picture(), 0, 0, m_selection.ViewWidth, m_selection.ViewHeight),
                            m_options.GrayStrength);
    SaveSource source{DibGuard(DCtoDIB(m_model.screen(), RoundPixel<int>(shape.left), RoundPixel<int>(shape.top),
                                       RoundPixel<int>(shape.width), RoundPixel<int>(shape.height))),
                      {}};
    if (!source.image)
        source.status = {DibError::BadArgument};
    return source;
}

void CaptureMode::writeSave(const SaveSource& source, const SaveFileAnswer& answer)
{
    RememberSave(m_saveDialog, answer.fileName, answer.filterIndex);
    const std::optional<SaveFormat> format = FormatOfSave(answer.filterIndex, answer.fileName);
    if (!format) {
        reportSaveError(UnknownFormatText(answer.fileName));
        return;
    }
    const std::string path = FileNameText::encode(answer.fileName).toStdString();
    const DibStatus status = source.status ? WriteImage(source.image.get(), *format, path, m_options) : source.status;
    if (!status)
        reportSaveError(SaveFailedText(answer.fileName, status));
}

// With no picture yet there is nothing to copy: the save's selection message says
// so, and the clipboard keeps what it had.
void CaptureMode::copyToClipboard()
{
    const DeviceContext& picture = m_model.picture();
    const int width = m_selection.ViewWidth;
    const int height = m_selection.ViewHeight;
    if (width <= 0 || height <= 0 || width > picture.width() || height > picture.height()) {
        reportSaveError(NoSelectionText());
        return;
    }
    m_platform.clipboard->setImage(picture, width, height);
}

void CaptureMode::reportSaveError(const QString& text)
{
    m_platform.dialogs->message(m_panel.get(), text, SaveErrorTitle(), MessageButtons::Ok);
}
