// The real X11 grabber on the test's X server: a full-screen window paints a pattern in
// which neighbouring pixels differ, the grab must return it pixel for pixel.
#include "platform/X11ScreenGrabber.h"

#include "imaging/dibimage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <tuple>

namespace {

// variant 1 differs from variant 0 in every pixel.
QRgb patternAt(int x, int y, int variant = 0)
{
    return qRgb((x * 7 + y) & 0xFF, (y * 3 + (x >> 8)) & 0xFF, (x ^ y) & 0xFF) ^ (variant == 0 ? 0u : 0x5A5A5Au);
}

QImage pattern(QSize size, int variant = 0)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = patternAt(x, y, variant);
    }
    return image;
}

class PatternWindow : public QWidget
{
public:
    explicit PatternWindow(QImage image)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
        , m_image(std::move(image))
    {
        // No window manager places us: the geometry is the screen's, given outright.
        setGeometry(QRect(QPoint(0, 0), m_image.size()));
    }

    void setImage(QImage image)
    {
        m_image = std::move(image);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_image); }

private:
    QImage m_image;
};

// Pixels of dc that differ from the pattern on the screen, or from black beyond it.
int mismatches(const DeviceContext& dc, int variant = 0)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    int count = 0;
    for (int y = 0; y < dc.height(); ++y)
        for (int x = 0; x < dc.width(); ++x) {
            const bool onScreen = x < screen.width() && y < screen.height();
            count += dc.row(y)[x] != (0xFF000000u | (onScreen ? patternAt(x, y, variant) : 0u));
        }
    return count;
}

// The grab's outcome: X11 answers within the call.
ScreenShot grabNow(X11ScreenGrabber& grabber)
{
    std::optional<ScreenShot> taken;
    grabber.grab([&taken](ScreenShot shot) { taken = std::move(shot); });
    EXPECT_TRUE(taken.has_value()) << "no answer within the call";
    return taken.value_or(ScreenShot{{}, 1, QStringLiteral("no answer")});
}

// Every way through: shared memory or replies, in the bands of a grabber for many
// grabs or of one for a single grab (not dividing the screen's height either way).
class X11ScreenGrabberTest
    : public ::testing::TestWithParam<std::tuple<X11ScreenGrabber::Transfer, X11ScreenGrabber::Use>>
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "runs on an X server only";
        m_window = std::make_unique<PatternWindow>(pattern(QGuiApplication::primaryScreen()->geometry().size()));
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        X11ScreenGrabber probe;
        DeviceContext corner(16, 16);
        QTRY_VERIFY_WITH_TIMEOUT(probe.read(corner).isEmpty() && mismatches(corner) == 0, 10000);
    }

    [[nodiscard]] static X11ScreenGrabber::Transfer transfer() { return std::get<0>(GetParam()); }
    [[nodiscard]] static std::unique_ptr<X11ScreenGrabber> makeGrabber()
    {
        return std::make_unique<X11ScreenGrabber>(QString(), transfer(), std::get<1>(GetParam()));
    }

    std::unique_ptr<PatternWindow> m_window;
};

TEST_P(X11ScreenGrabberTest, WholeScreenPixelForPixel)
{
    const auto grabber = makeGrabber();
    EXPECT_EQ(grabber->usesSharedMemory(), transfer() == X11ScreenGrabber::Transfer::SharedMemoryWhenOffered)
        << "the test server is local and offers MIT-SHM";
    const ScreenInfo info = grabber->screenInfo();
    const ScreenShot shot = grabNow(*grabber);
    ASSERT_TRUE(shot.ok()) << shot.error.toStdString();
    EXPECT_EQ(QSize(shot.picture.width(), shot.picture.height()), QSize(info.width, info.height));
    EXPECT_EQ(shot.scale, 1);
    EXPECT_EQ(mismatches(shot.picture), 0);
}

// A target larger than the screen stands for a screen that shrank after its size was
// asked: what lies beyond is black, whatever the target held.
TEST_P(X11ScreenGrabberTest, TargetGetsTheTopLeftAndBlackBeyond)
{
    const auto grabber = makeGrabber();
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(101, 57), QSize(1920, 1), QSize(1921, 1081)}) {
        DeviceContext dc(size.width(), size.height());
        dc.fill(0x00FF00FFu);
        ASSERT_TRUE(grabber->read(dc).isEmpty());
        EXPECT_EQ(mismatches(dc), 0) << size.width() << "x" << size.height();
    }
}

// The grabber keeps what it reads through between grabs: a later grab must give the
// screen as it is then, in every band.
TEST_P(X11ScreenGrabberTest, LaterGrabGivesTheScreenAsItIsThen)
{
    const auto grabber = makeGrabber();
    ASSERT_EQ(mismatches(grabNow(*grabber).picture), 0);
    m_window->setImage(pattern(QGuiApplication::primaryScreen()->geometry().size(), 1));
    X11ScreenGrabber probe;
    QTRY_VERIFY_WITH_TIMEOUT(mismatches(grabNow(probe).picture, 1) == 0, 10000);
    EXPECT_EQ(mismatches(grabNow(*grabber).picture, 1), 0);
}

INSTANTIATE_TEST_SUITE_P(X11ScreenGrabber, X11ScreenGrabberTest,
                         ::testing::Combine(::testing::Values(X11ScreenGrabber::Transfer::SharedMemoryWhenOffered,
                                                              X11ScreenGrabber::Transfer::RepliesOnly),
                                            ::testing::Values(X11ScreenGrabber::Use::ManyGrabs,
                                                              X11ScreenGrabber::Use::OneGrab)),
                         [](const auto& info) {
                             const bool replies = std::get<0>(info.param) == X11ScreenGrabber::Transfer::RepliesOnly;
                             const bool oneGrab = std::get<1>(info.param) == X11ScreenGrabber::Use::OneGrab;
                             return std::string(replies ? "Replies" : "SharedMemory") + (oneGrab ? "OneGrab" : "ManyGrabs");
                         });

TEST(X11ScreenGrabber, ScreenInfoMatchesTheServer)
{
    const X11ScreenGrabber grabber;
    const ScreenInfo info = grabber.screenInfo();
    EXPECT_EQ(QSize(info.width, info.height), QGuiApplication::primaryScreen()->geometry().size());
    EXPECT_EQ(info.bitsPerPixel, 32) << "a depth-24 screen stores 32 bits per pixel";
}

// A private X server of the given depth, gone with the object.
class PrivateServer
{
public:
    explicit PrivateServer(int depth)
    {
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("320x200x%1").arg(depth), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"), QStringLiteral("-noreset")});
        if (m_server.waitForReadyRead(10000))
            m_display = u':' + QString::fromLatin1(m_server.readLine().trimmed());
    }
    ~PrivateServer()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    [[nodiscard]] const QString& display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

struct DepthCase {
    int depth;
    const char* colour;   // as xsetroot takes it
    std::uint32_t pixel;  // what the grab must give: each channel widened to 8 bits, rounded
    int bitsPerPixel;
    friend void PrintTo(const DepthCase& c, std::ostream* out) { *out << c.depth; }
};

class ScreenDepth : public ::testing::TestWithParam<DepthCase>
{};

// Screens whose pixels are not 32-bit XRGB go through the per-channel conversion:
// 16-bit 5-6-5 channels 31, 32, 8 widen to 255, 130, 66 (32 * 255 / 63 = 129.5).
TEST_P(ScreenDepth, RootColourComesBackWidened)
{
    const DepthCase& c = GetParam();
    const PrivateServer server(c.depth);
    ASSERT_FALSE(server.display().isEmpty()) << "Xvfb did not start";
    ASSERT_EQ(QProcess::execute(QStringLiteral("xsetroot"), {QStringLiteral("-display"), server.display(),
                                                             QStringLiteral("-solid"), QString::fromLatin1(c.colour)}),
              0);
    for (const auto transfer :
         {X11ScreenGrabber::Transfer::SharedMemoryWhenOffered, X11ScreenGrabber::Transfer::RepliesOnly}) {
        X11ScreenGrabber grabber(server.display(), transfer);
        EXPECT_EQ(grabber.screenInfo().bitsPerPixel, c.bitsPerPixel);
        const ScreenShot shot = grabNow(grabber);
        ASSERT_TRUE(shot.ok()) << shot.error.toStdString();
        const DeviceContext& dc = shot.picture;
        ASSERT_EQ(QSize(dc.width(), dc.height()), QSize(320, 200));
        int wrong = 0;
        for (int y = 0; y < dc.height(); ++y)
            for (int x = 0; x < dc.width(); ++x)
                wrong += dc.row(y)[x] != c.pixel;
        EXPECT_EQ(wrong, 0) << std::hex << dc.row(0)[0];
    }
}

INSTANTIATE_TEST_SUITE_P(X11ScreenGrabber, ScreenDepth,
                         ::testing::Values(DepthCase{16, "#ff8040", 0xFFFF8242u, 16},
                                           DepthCase{24, "#ff8040", 0xFFFF8040u, 32}));

TEST(X11ScreenGrabber, UnreachableDisplayFailsWithAReason)
{
    X11ScreenGrabber grabber(QStringLiteral(":987"));
    const ScreenShot shot = grabNow(grabber);
    EXPECT_FALSE(shot.ok());
    EXPECT_TRUE(shot.error.contains(QStringLiteral(":987"))) << shot.error.toStdString();
    DeviceContext dc(4, 4);
    dc.fill(0xFF123456u);
    EXPECT_EQ(grabber.read(dc), shot.error);
    EXPECT_EQ(dc.row(3)[3], 0xFF123456u) << "target unchanged";
    EXPECT_EQ(grabber.screenInfo().width, 0);
}

TEST(X11ScreenGrabber, WaylandWithoutX11SaysSo)
{
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    qunsetenv("DISPLAY");
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    X11ScreenGrabber grabber;
    qputenv("DISPLAY", display);
    if (wayland.isNull())
        qunsetenv("WAYLAND_DISPLAY");
    else
        qputenv("WAYLAND_DISPLAY", wayland);
    const ScreenShot shot = grabNow(grabber);
    EXPECT_FALSE(shot.ok());
    EXPECT_TRUE(shot.error.contains(QStringLiteral("Wayland"))) << shot.error.toStdString();
}

}  // namespace
