#include "PortalScreenGrabber.h"

#include "KWinScreenshot.h"
#include "imaging/dibimage.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The Request object's path is known before the call: subscribing first means no
// answer can come before we listen.
QString requestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

// XWayland unmaps a hidden window on the compositor's side after it has handled the
// X request, and the compositor shows the change in its next frame; no protocol tells
// a client when that has happened, so the request waits a few frames.
constexpr int SettleMs = 100;

DeviceContext pixelsOf(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    DeviceContext pixels;
    pixels.resizeForOverwrite(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(pixels.row(y), rgb.constScanLine(y), static_cast<std::size_t>(rgb.width()) * sizeof(std::uint32_t));
    return pixels;
}

}  // namespace

// One Screenshot request: its Response signal, and the call that made it.
class PortalRequest : public QObject
{
    Q_OBJECT
public:
    PortalRequest(QString path, std::function<void(uint, const QVariantMap&)> answered)
        : path(std::move(path))
        , m_answered(std::move(answered))
    {}
    const QString path;
    // Dropped requests (cancelled, or failed) wait to be deleted; they answer no more.
    bool live = true;

public slots:
    void Response(uint code, const QVariantMap& values)
    {
        if (live)
            m_answered(code, values);
    }

private:
    std::function<void(uint, const QVariantMap&)> m_answered;
};

PortalScreenGrabber::PortalScreenGrabber(std::unique_ptr<ScreenGrabber> sizes) : m_sizes(std::move(sizes))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    QObject::connect(&m_settle, &QTimer::timeout, &m_settle, [this] { ask(); });
}

PortalScreenGrabber::~PortalScreenGrabber() { cancel(); }

void PortalScreenGrabber::grab(Done done)
{
    cancel();
    m_done = std::move(done);
    m_picture = QImage();
    m_error.clear();
    m_settle.start();
}

void PortalScreenGrabber::ask()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        failed(tr("画面を取得できません: セッションバス (D-Bus) に接続できません。"));
        return;
    }
    const QString token = QStringLiteral("scrimble_") + QUuid::createUuid().toString(QUuid::Id128);
    m_request = new PortalRequest(requestPath(bus, token),
                                  [this](uint code, const QVariantMap& results) { answered(code, results); });
    bus.connect(PortalService, m_request->path, RequestInterface, QStringLiteral("Response"), m_request,
                SLOT(Response(uint, QVariantMap)));
    m_asked = QDateTime::currentDateTime();
    QDBusMessage call = QDBusMessage::createMethodCall(
        PortalService, PortalPath, QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("interactive"), false}};
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), m_request);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, m_request,
                     [this, request = m_request](QDBusPendingCallWatcher* call) {
                         const QDBusPendingReply<QDBusObjectPath> reply = *call;
                         if (reply.isError() && request->live)
                             failed(tr("画面を取得できません: スクリーンショットのポータルが応答しません (%1)。")
                                        .arg(reply.error().message()));
                     });
}

// The portal is told too, so that a question it shows the user goes away.
void PortalScreenGrabber::cancel()
{
    m_done = nullptr;
    m_settle.stop();
    m_kwin.cancel();
    if (m_request)
        QDBusConnection::sessionBus().asyncCall(
            QDBusMessage::createMethodCall(PortalService, m_request->path, RequestInterface, QStringLiteral("Close")));
    dropRequest();
}

void PortalScreenGrabber::dropRequest()
{
    if (m_request) {
        m_request->live = false;
        m_request->deleteLater();
    }
    m_request = nullptr;
}

void PortalScreenGrabber::answered(uint response, const QVariantMap& results)
{
    if (response != 0) {
        failed(response == 1 ? tr("画面の取得が拒否されました。")
                             : tr("画面を取得できません: ポータルが画像を返しませんでした。"));
        return;
    }
    const QString file = QUrl(results.value(QStringLiteral("uri")).toString()).toLocalFile();
    m_picture = QImage(file);
    // Made for this request: the picture is in memory now, and nowhere else.
    if (QFileInfo(file).lastModified() >= m_asked.addSecs(-1))
        QFile::remove(file);
    if (m_picture.isNull())
        failed(tr("画面を取得できません: ポータルの画像を読めません。"));
    else
        finish();
}

void PortalScreenGrabber::failed(const QString& error)
{
    m_error = error;
    finish();
}

void PortalScreenGrabber::finish()
{
    dropRequest();
    if (!m_picture.isNull() || !isKWinSession()) {
        deliver();
        return;
    }
    m_kwin.take([this](ScreenPicture shot) {
        m_picture = std::move(shot.image);
        if (m_picture.isNull())
            m_error = std::move(shot.error);
        deliver();
    });
}

void PortalScreenGrabber::deliver()
{
    ScreenShot shot;
    if (m_picture.isNull()) {
        shot.error = m_error.isEmpty() ? tr("画面を取得できません: ポータルが画像を返しませんでした。") : m_error;
    } else {
        m_pictureSize = m_picture.size();
        shot.picture = pixelsOf(m_picture);
        shot.scale = screenInfo().scale;
        m_picture = QImage();
    }
    const Done done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(std::move(shot));
}

// The X screen's size until a picture has come; then the last picture's.
ScreenInfo PortalScreenGrabber::screenInfo() const
{
    ScreenInfo info = m_sizes->screenInfo();
    if (m_pictureSize.isEmpty() || info.width <= 0)
        return info;
    info.scale = std::max(1, static_cast<int>(std::lround(static_cast<double>(m_pictureSize.width()) / info.width)));
    info.width = m_pictureSize.width();
    info.height = m_pictureSize.height();
    return info;
}

#include "PortalScreenGrabber.moc"
