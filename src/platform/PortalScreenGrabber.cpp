#include "PortalScreenGrabber.h"

#include "KWinScreenshot.h"
#include "imaging/dibimage.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTimer>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
constexpr int AnswerTimeoutMs = 15000;

// What the portal's Request answered.
class RequestAnswer : public QObject
{
    Q_OBJECT
public:
    uint response = 2;
    QVariantMap results;
    QEventLoop loop;

public slots:
    void Response(uint code, const QVariantMap& values)
    {
        response = code;
        results = values;
        loop.quit();
    }
};

// The Request object's path is known before the call: subscribing first means no
// answer can come before we listen.
QString requestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

constexpr qint64 FreshPictureMs = 1000;

}  // namespace


PortalScreenGrabber::PortalScreenGrabber(std::unique_ptr<ScreenGrabber> sizes) : m_sizes(std::move(sizes)) {}

PortalScreenGrabber::~PortalScreenGrabber() = default;

// The X screen's size when no picture comes: the grab then says why.
ScreenInfo PortalScreenGrabber::screenInfo() const
{
    ScreenInfo info = m_sizes->screenInfo();
    if (!freshPicture() || info.width <= 0)
        return info;
    info.scale = std::max(1, static_cast<int>(std::lround(static_cast<double>(m_picture.width()) / info.width)));
    info.width = m_picture.width();
    info.height = m_picture.height();
    return info;
}

bool PortalScreenGrabber::grab(DeviceContext& target)
{
    if (!freshPicture())
        return false;
    const QImage rgb = m_picture.convertToFormat(QImage::Format_RGB32);
    m_picture = QImage();
    const int width = std::min(rgb.width(), target.width());
    const int height = std::min(rgb.height(), target.height());
    for (int y = 0; y < height; ++y)
        std::memcpy(target.row(y), rgb.constScanLine(y), static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    return true;
}

bool PortalScreenGrabber::freshPicture() const
{
    if (!m_picture.isNull() && m_taken.isValid() && m_taken.elapsed() <= FreshPictureMs)
        return true;
    return takePicture();
}

// Where the portal gives no picture, a KDE Plasma session's KWin may: its message
// then says what is missing.
bool PortalScreenGrabber::takePicture() const
{
    if (takePortalPicture() || !isKWinSession())
        return !m_picture.isNull();
    ScreenPicture shot = takeKWinScreenshot();
    m_picture = std::move(shot.image);
    m_error = std::move(shot.error);
    if (!m_picture.isNull())
        m_taken.start();
    return !m_picture.isNull();
}

bool PortalScreenGrabber::takePortalPicture() const
{
    m_picture = QImage();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        m_error = QStringLiteral("画面を取得できません: セッションバス (D-Bus) に接続できません。");
        return false;
    }
    const QString token = QStringLiteral("scrimble_") + QUuid::createUuid().toString(QUuid::Id128);
    RequestAnswer answer;
    bus.connect(PortalService, requestPath(bus, token), QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"), &answer, SLOT(Response(uint, QVariantMap)));
    const QDateTime asked = QDateTime::currentDateTime();
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath,
                                                       QStringLiteral("org.freedesktop.portal.Screenshot"),
                                                       QStringLiteral("Screenshot"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("interactive"), false}};
    const QDBusReply<QDBusObjectPath> reply = bus.call(call);
    if (!reply.isValid()) {
        m_error = QStringLiteral("画面を取得できません: スクリーンショットのポータルが応答しません (%1)。")
                      .arg(reply.error().message());
        return false;
    }
    QTimer::singleShot(AnswerTimeoutMs, &answer.loop, &QEventLoop::quit);
    answer.loop.exec();
    if (answer.response != 0) {
        m_error = answer.response == 1 ? QStringLiteral("画面の取得が拒否されました。")
                                        : QStringLiteral("画面を取得できません: ポータルが画像を返しませんでした。");
        return false;
    }
    const QString file = QUrl(answer.results.value(QStringLiteral("uri")).toString()).toLocalFile();
    m_picture = QImage(file);
    // Made for this request: the picture is in memory now, and nowhere else.
    if (QFileInfo(file).lastModified() >= asked.addSecs(-1))
        QFile::remove(file);
    if (m_picture.isNull()) {
        m_error = QStringLiteral("画面を取得できません: ポータルの画像を読めません。");
        return false;
    }
    m_taken.start();
    m_error.clear();
    return true;
}

#include "PortalScreenGrabber.moc"
