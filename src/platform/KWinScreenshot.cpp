#include "KWinScreenshot.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>

#include <cerrno>

namespace {

const QString KWinService = QStringLiteral("org.kde.KWin");
constexpr int ReplyTimeoutMs = 15000;
// KWin writes the pixels after its answer; a pause this long means it stopped.
constexpr int WriteTimeoutMs = 5000;

ScreenPicture failure(const QString& text) { return {QImage(), text}; }

QString noPictureText()
{
    return QCoreApplication::translate("KWinScreenshot", "画面を取得できません: KWin が画像を返しませんでした。");
}

QString refusalText(const QDBusError& error)
{
    if (error.name() == QStringLiteral("org.kde.KWin.ScreenShot2.Error.NoAuthorized"))
        return QCoreApplication::translate(
            "KWinScreenshot", "画面を取得できません: KWin がこのプログラムに画面の取得を許可していません。"
                              "このプログラムのデスクトップエントリ (scrimble.desktop: Exec にこのプログラムの"
                              "フルパス、X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2) を"
                              "インストールしてください。");
    return QCoreApplication::translate("KWinScreenshot", "画面を取得できません: KWin が応答しません (%1)。")
        .arg(error.message());
}

// What KWin wrote into the pipe: exactly expected bytes, unless it stopped, closed its
// end early, or stop became readable.
bool readPixels(int fd, int stop, qsizetype expected, QByteArray& pixels)
{
    pixels.resize(expected);
    qsizetype filled = 0;
    while (filled < expected) {
        pollfd ready[2] = {{fd, POLLIN, 0}, {stop, POLLIN, 0}};
        if (::poll(ready, 2, WriteTimeoutMs) <= 0 || (ready[1].revents & POLLIN))
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

// The pixels KWin's answer describes, read from the pipe.
ScreenPicture readPicture(const QVariantMap& picture, int fd, int stop)
{
    const int width = picture.value(QStringLiteral("width")).toInt();
    const int height = picture.value(QStringLiteral("height")).toInt();
    const int stride = picture.value(QStringLiteral("stride")).toInt();
    const auto format = static_cast<QImage::Format>(picture.value(QStringLiteral("format")).toInt());
    const bool fourBytesEach = format > QImage::Format_Invalid && format < QImage::NImageFormats
                               && QImage::toPixelFormat(format).bitsPerPixel() == 32;
    QByteArray pixels;
    if (width <= 0 || height <= 0 || !fourBytesEach || stride < width * 4
        || !readPixels(fd, stop, qsizetype{stride} * height, pixels))
        return failure(noPictureText());
    // The image owns the bytes: converting to the format they already have gives the
    // same buffer back, which must outlive this function.
    auto* bytes = new QByteArray(std::move(pixels));
    const QImage image(
        reinterpret_cast<const uchar*>(bytes->constData()), width, height, stride, format,
        [](void* owned) { delete static_cast<QByteArray*>(owned); }, bytes);
    return {image.convertToFormat(QImage::Format_RGB32), QString()};
}

}  // namespace

// One CaptureWorkspace call; its answers count only while it is live.
class KWinScreenshot::Request final : public QObject
{
public:
    explicit Request(Done done) : done(std::move(done)) {}
    const Done done;
    bool live = true;

    void answer(const ScreenPicture& picture)
    {
        if (live)
            done(picture);
    }
};

bool isKWinSession()
{
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(KWinService);
}

KWinScreenshot::KWinScreenshot() : m_stopReading(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

KWinScreenshot::~KWinScreenshot() { cancel(); }

void KWinScreenshot::cancel()
{
    if (m_reader.joinable()) {
        const std::uint64_t one = 1;
        static_cast<void>(::write(m_stopReading.get(), &one, sizeof one));
        m_reader.join();
        std::uint64_t count = 0;
        static_cast<void>(::read(m_stopReading.get(), &count, sizeof count));
    }
    if (m_request) {
        m_request->live = false;
        m_request->deleteLater();
    }
    m_request = nullptr;
}

void KWinScreenshot::take(Done done)
{
    cancel();
    auto* request = new Request(std::move(done));
    m_request = request;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        QMetaObject::invokeMethod(
            request,
            [request] {
                request->answer(failure(QCoreApplication::translate(
                    "KWinScreenshot", "画面を取得できません: KWin との受け渡しを用意できません。")));
            },
            Qt::QueuedConnection);
        return;
    }
    auto readEnd = std::make_shared<FileDescriptor>(ends[0]);
    QDBusPendingCall reply = [&ends] {
        const FileDescriptor writeEnd(ends[1]);
        QDBusMessage call = QDBusMessage::createMethodCall(KWinService, QStringLiteral("/org/kde/KWin/ScreenShot2"),
                                                           QStringLiteral("org.kde.KWin.ScreenShot2"),
                                                           QStringLiteral("CaptureWorkspace"));
        // Without native-resolution, KWin shrinks a scaled output's picture to its logical size.
        call << QVariantMap{{QStringLiteral("native-resolution"), true}}
             << QVariant::fromValue(QDBusUnixFileDescriptor(writeEnd.get()));
        return QDBusConnection::sessionBus().asyncCall(call, ReplyTimeoutMs);
    }();
    auto* watcher = new QDBusPendingCallWatcher(reply, request);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, request,
                     [this, request, readEnd](QDBusPendingCallWatcher* call) {
                         const QDBusPendingReply<QVariantMap> answer = *call;
                         call->deleteLater();
                         if (!request->live)
                             return;
                         if (answer.isError())
                             request->answer(failure(refusalText(answer.error())));
                         else
                             answered(*request, answer.value(), std::move(*readEnd));
                     });
}

// The call's message held copies of the pipe's write end: the reader reads the size
// the answer gives, not until the pipe closes.
void KWinScreenshot::answered(Request& request, const QVariantMap& picture, FileDescriptor readEnd)
{
    m_reader = std::thread([&request, picture, readEnd = std::move(readEnd), stop = m_stopReading.get()] {
        ScreenPicture shot = readPicture(picture, readEnd.get(), stop);
        QMetaObject::invokeMethod(
            &request, [&request, shot = std::move(shot)] { request.answer(shot); }, Qt::QueuedConnection);
    });
}
