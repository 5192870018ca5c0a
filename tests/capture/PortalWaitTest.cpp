// The capture mode waiting for the desktop's screenshot portal, which may ask the user
// first: a portal on the test's own session bus (dbus-run-session) answers the first
// request after a delay, as a desktop that asks the user once. The mode shows that it
// waits, the event loop runs all the while, a late answer still gives the copy (asked
// for again once the wait window has gone), cancelling returns to the chooser and
// withdraws the request, and a refusal gives one message and the chooser. Where the
// portal cancels at once, a KWin on the same bus that is slow to answer keeps nothing
// waiting either.
#include "CaptureFixture.h"
#include "X11Desktop.h"
#include "platform/PortalScreenGrabber.h"
#include "platform/X11ScreenGrabber.h"
#include "scrimble.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <unistd.h>

#include <thread>

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

// org.freedesktop.portal.Screenshot on a connection of its own: the first request is
// answered with code after delayMs, later ones at once, each with a copy of the
// picture file, unless it was closed.
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
        QTimer::singleShot(std::exchange(m_delayMs, 0), this, [this, path] {
            if (closed())
                return;
            QDBusMessage response = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                               QStringLiteral("Response"));
            // A file of its own each time, as a portal writes one per request.
            const QString file = m_picture + QString::number(++m_answers) + QStringLiteral(".png");
            QFile::copy(m_picture, file);
            response << m_code << QVariantMap{{QStringLiteral("uri"), QUrl::fromLocalFile(file).toString()}};
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
    int m_answers = 0;
    bool m_registered = false;
};

// org.kde.KWin.ScreenShot2 on a connection of its own: each CaptureWorkspace is
// answered after delayMs, and the picture then written into the caller's pipe.
class FakeKWin final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.ScreenShot2")
public:
    FakeKWin(int delayMs, const QImage& picture)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-kwin")))
        , m_delayMs(delayMs)
        , m_picture(picture.convertToFormat(QImage::Format_RGB32))
    {
        m_registered =
            m_bus.registerObject(QStringLiteral("/org/kde/KWin/ScreenShot2"), this, QDBusConnection::ExportAllSlots)
            && m_bus.registerService(QStringLiteral("org.kde.KWin"));
    }
    ~FakeKWin() override
    {
        for (std::thread& writer : m_writers)
            writer.join();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-kwin"));
    }
    [[nodiscard]] bool registered() const { return m_registered; }

public slots:
    QVariantMap CaptureWorkspace(const QVariantMap&, const QDBusUnixFileDescriptor& pipe, const QDBusMessage& call)
    {
        call.setDelayedReply(true);
        QTimer::singleShot(m_delayMs, this, [this, call, fd = ::dup(pipe.fileDescriptor())] {
            const QVariantMap picture{{QStringLiteral("width"), m_picture.width()},
                                      {QStringLiteral("height"), m_picture.height()},
                                      {QStringLiteral("stride"), static_cast<int>(m_picture.bytesPerLine())},
                                      {QStringLiteral("format"), static_cast<int>(m_picture.format())}};
            m_bus.send(call.createReply(QVariant::fromValue(picture)));
            m_writers.emplace_back([fd, bytes = QByteArray(reinterpret_cast<const char*>(m_picture.constBits()),
                                                           m_picture.sizeInBytes())] {
                for (qsizetype done = 0; done < bytes.size();) {
                    const ssize_t wrote =
                        ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
                    if (wrote <= 0)
                        break;
                    done += wrote;
                }
                ::close(fd);
            });
        });
        return {};
    }

private:
    QDBusConnection m_bus;
    int m_delayMs;
    QImage m_picture;
    bool m_registered = false;
    std::vector<std::thread> m_writers;
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
    // Registered, loaded and waiting, with its wait window once the desktop has not
    // answered for a moment.
    [[nodiscard]] bool waiting()
    {
        return portal.registered() && mode->load() == ModeOpenResult::Opened
               && QTest::qWaitFor([] { return waitWindow() != nullptr; }, 2000);
    }
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
    const DeviceContext& copy = waiting.mode->model().screen();
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

// Last, as its KWin stays on the bus a moment after the test: KDE Plasma's portal
// cancels at once; KWin answers late. The event loop runs, and the
// copy is KWin's picture.
TEST(PortalWait, ASlowKWinKeepsTheLoopRunningAndGivesTheCopy)
{
    PortalCapture capture;
    FakePortal portal(0, 2, capture.file);
    FakeKWin kwin(3000, capture.screen);
    ASSERT_TRUE(portal.registered() && kwin.registered());
    const std::unique_ptr<CaptureMode> mode = capture.makeMode();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(100);
    ASSERT_EQ(mode->load(), ModeOpenResult::Opened);
    ASSERT_TRUE(QTest::qWaitFor([&] { return mode->desktop().isVisible(); }, 20000));
    EXPECT_GE(ticks, 25) << "the event loop stalled while KWin took its time";
    const DeviceContext& copy = mode->model().screen();
    ASSERT_EQ(QSize(copy.width(), copy.height()), capture.screen.size());
    EXPECT_EQ(DifferingPixels(copy, PatternPixel), 0);
    EXPECT_TRUE(capture.dialogs->messages.empty());
}

}  // namespace

#include "PortalWaitTest.moc"
