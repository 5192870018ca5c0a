// A program that copies an image through the clipboard service and ends at once:
// what it copied must survive it, handed to a running clipboard manager.
#include "imaging/dibimage.h"
#include "platform/X11Clipboard.h"

#include <QGuiApplication>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    DeviceContext picture(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            picture.row(y)[x] = 0xFF000000u | static_cast<std::uint32_t>(x * 4 << 16 | y * 5 << 8 | 0x40);
    X11Clipboard clipboard;
    clipboard.setImage(picture, 64, 48);
    QGuiApplication::processEvents();
    return 0;
}
