#include "ScreenInformation.h"

#include "CaptureSelection.h"
#include "PanelFields.h"
#include "platform/Platform.h"

void ShowScreenInformation(Platform& platform, CaptureSelection& selection, QWidget* parent)
{
    const ScreenInfo screen = platform.screen->screenInfo();
    selection.ScreenWidth = screen.width;
    selection.ScreenHeight = screen.height;
    selection.ScreenBitsPerPixel = static_cast<std::int16_t>(screen.bitsPerPixel);
    platform.dialogs->message(
        parent, ScreenInfoText(selection.ScreenWidth, selection.ScreenHeight, selection.ScreenBitsPerPixel),
        ScreenInfoTitle(), MessageButtons::Ok);
}
