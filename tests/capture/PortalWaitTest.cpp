// The capture mode waiting for the desktop's screenshot portal, which may ask the user
// first: a portal on the test's own session bus (dbus-run-session) answers after a
// delay. The mode shows that it waits, the event loop runs all the while, a late
// answer still gives the copy, cancelling returns to the chooser and withdraws the
// request, and a refusal gives one message and the chooser.
#include "CaptureFixture.h"
#include "X11Desktop.h"
#include "platform/PortalScreenGrabber.h"
#include "platform/X11ScreenGrabber.h"
#include "scrimble.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// A request's object, which the caller may close.
class FakeRequest final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public:
    explicit FakeRequest(QObject* parent) : QObject(parent) {}
    bool closed = false;

public slots:
    void Close() { closed = true; }
};

// org.freedesktop.portal.Screenshot on a connection of its own: each request is
// answered with code after delayMs, with the picture file, unless it was closed.
class FakePortal final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    FakePortal(int delayMs, uint code, QString picture)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal")))
        , m_delayMs(delayMs)
        , m_code(code)
        , m_picture(std::move(picture))
    {
        m_registered = m_bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                                            QDBusConnection::ExportAllSlots)
                       && m_bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }
    ~FakePortal() override { QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal")); }
    [[nodiscard]] bool registered() const { return m_registered; }
    [[nodiscard]] bool closed() const { return m_request && m_request->closed; }

public slots:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& options, const QDBusMessage& call)
    {
        QString sender = call.service().mid(1);
        sender.replace(u'.', u'_');
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(sender, options.value(QStringLiteral("handle_token")).toString());
        m_request = new FakeRequest(this);
        m_bus.registerObject(path, m_request, QDBusConnection::ExportAllSlots);
        QTimer::singleShot(m_delayMs, this, [this, path] {
            if (closed())
                return;
            QDBusMessage response = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                               QStringLiteral("Response"));
            response << m_code << QVariantMap{{QStringLiteral("uri"), QUrl::fromLocalFile(m_picture).toString()}};
            m_bus.send(response);
        });
        return QDBusObjectPath(path);
    }

private:
    QDBusConnection m_bus;
    FakeRequest* m_request = nullptr;
    int m_delayMs;
    uint m_code;
    QString m_picture;
    bool m_registered = false;
};

// The desktop's portal in place of the X screen.
struct PortalCapture : RealPlatformCapture {
    QImage screen;
    QString file = dir.filePath(QStringLiteral("portal.png"));

    PortalCapture()
    {
        platform.screen = std::make_unique<PortalScreenGrabber>(std::make_unique<X11ScreenGrabber>());
        screen = QImage(QGuiApplication::primaryScreen()->size(), QImage::Format_RGB32);
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                screen.setPixel(x, y, PatternPixel(x, y));
        screen.save(file);
    }
};

QWidget* waitWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("ScreenWait"))
            return window;
    return nullptr;
}

// The mode loaded with a portal that answers code after delayMs.
struct WaitingMode {
    PortalCapture capture;
    FakePortal portal;
    std::unique_ptr<CaptureMode> mode;

    WaitingMode(int delayMs, uint code) : portal(delayMs, code, capture.file), mode(capture.makeMode()) {}
    // Registered, loaded and waiting, with its wait window.
    [[nodiscard]] bool waiting() { return portal.registered() && mode->load() == ModeOpenResult::Opened && waitWindow(); }
};

TEST(PortalWait, AnAnswerAfterTwentySecondsStillGivesTheCopyAndTheLoopRunsMeanwhile)
{
    WaitingMode waiting(20000, 0);
    ASSERT_TRUE(waiting.waiting());
    QWidget* wait = waitWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Desktop::isViewable(*wait); }, 5000));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.mode->desktop().isVisible(); }, 30000));
    EXPECT_GE(ticks, 150) << "the event loop stalled while waiting";
    EXPECT_FALSE(wait->isVisible());
    const DeviceContext& copy = waiting.mode->desktop().surface();
    ASSERT_EQ(QSize(copy.width(), copy.height()), waiting.capture.screen.size());
    EXPECT_EQ(DifferingPixels(copy, PatternPixel), 0);
    EXPECT_TRUE(waiting.capture.dialogs->messages.empty());
}

TEST(PortalWait, CancellingReturnsToTheChooserAndClosesTheRequest)
{
    WaitingMode waiting(3000, 0);
    ASSERT_TRUE(waiting.waiting());
    QTest::qWait(500);
    waitWindow()->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(waiting.capture.host.chooserRequests, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return waiting.portal.closed(); }, 5000));
    QTest::qWait(3500);
    EXPECT_FALSE(waiting.mode->desktop().isVisible());
    EXPECT_TRUE(waiting.capture.dialogs->messages.empty());
}

TEST(PortalWait, ARefusalGivesOneMessageAndTheChooser)
{
    WaitingMode waiting(1000, 1);
    ASSERT_TRUE(waiting.waiting());
    const auto& messages = waiting.capture.dialogs->messages;
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.capture.host.chooserRequests == 1; }, 10000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("拒否"))) << messages[0].text.toStdString();
    EXPECT_FALSE(waiting.mode->desktop().isVisible());
}

}  // namespace

#include "PortalWaitTest.moc"
