#include "KWinScreenshot.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QVariantMap>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace {

const QString KWinService = QStringLiteral("org.kde.KWin");
constexpr int ReplyTimeoutMs = 15000;
// KWin writes the pixels after its answer; a pause this long means it stopped.
constexpr int WriteTimeoutMs = 5000;

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    [[nodiscard]] int get() const { return m_fd; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

ScreenPicture failure(const QString& text)
{
    return {QImage(), text};
}

// What KWin wrote into the pipe until it closed its end: at most expected bytes.
bool readPixels(int fd, qsizetype expected, QByteArray& pixels)
{
    pixels.resize(expected);
    qsizetype filled = 0;
    while (filled < expected) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, WriteTimeoutMs) <= 0)
            return false;
        const ssize_t got = ::read(fd, pixels.data() + filled, static_cast<std::size_t>(expected - filled));
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            return false;
        filled += got > 0 ? got : 0;
    }
    return filled == expected;
}

// Asks for the workspace with the pipe's write end; the answer describes the pixels.
QDBusReply<QVariantMap> captureWorkspace(FileDescriptor& writeEnd)
{
    QDBusMessage call = QDBusMessage::createMethodCall(KWinService, QStringLiteral("/org/kde/KWin/ScreenShot2"),
                                                       QStringLiteral("org.kde.KWin.ScreenShot2"),
                                                       QStringLiteral("CaptureWorkspace"));
    // Without native-resolution, KWin shrinks a scaled output's picture to its logical size.
    call << QVariantMap{{QStringLiteral("native-resolution"), true}}
         << QVariant::fromValue(QDBusUnixFileDescriptor(writeEnd.get()));
    // The message holds a copy of the write end too; both go before the read, which
    // ends only when every write end is closed.
    const QDBusReply<QVariantMap> reply = QDBusConnection::sessionBus().call(call, QDBus::Block, ReplyTimeoutMs);
    writeEnd.reset();
    return reply;
}

}  // namespace

bool isKWinSession()
{
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(KWinService);
}

ScreenPicture takeKWinScreenshot()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return failure(QCoreApplication::translate("KWinScreenshot",
                                                   "画面を取得できません: KWin との受け渡しを用意できません。"));
    FileDescriptor readEnd(ends[0]);
    FileDescriptor writeEnd(ends[1]);
    const QDBusReply<QVariantMap> reply = captureWorkspace(writeEnd);
    if (!reply.isValid()) {
        if (reply.error().name() == QStringLiteral("org.kde.KWin.ScreenShot2.Error.NoAuthorized"))
            return failure(QCoreApplication::translate(
                "KWinScreenshot", "画面を取得できません: KWin がこのプログラムに画面の取得を許可していません。"
                                  "このプログラムのデスクトップエントリ (scrimble.desktop: Exec にこのプログラムの"
                                  "フルパス、X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2) を"
                                  "インストールしてください。"));
        return failure(QCoreApplication::translate("KWinScreenshot", "画面を取得できません: KWin が応答しません (%1)。")
                           .arg(reply.error().message()));
    }
    const QVariantMap picture = reply.value();
    const int width = picture.value(QStringLiteral("width")).toInt();
    const int height = picture.value(QStringLiteral("height")).toInt();
    const int stride = picture.value(QStringLiteral("stride")).toInt();
    const auto format = static_cast<QImage::Format>(picture.value(QStringLiteral("format")).toInt());
    QByteArray pixels;
    const bool fourBytesEach = format > QImage::Format_Invalid && format < QImage::NImageFormats
                               && QImage::toPixelFormat(format).bitsPerPixel() == 32;
    if (width <= 0 || height <= 0 || !fourBytesEach || stride < width * 4
        || !readPixels(readEnd.get(), qsizetype{stride} * height, pixels))
        return failure(
            QCoreApplication::translate("KWinScreenshot", "画面を取得できません: KWin が画像を返しませんでした。"));
    const QImage view(reinterpret_cast<const uchar*>(pixels.constData()), width, height, stride, format);
    return {view.convertToFormat(QImage::Format_RGB32), QString()};
}
