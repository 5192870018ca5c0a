// `scrimble --grab` as a script runs it, on each desktop of the table in CMakeLists.txt
// (bare X, openbox, sway, GNOME, KDE Plasma): the screen shows a pattern of known
// pixels, and what the program writes is read back by Pillow, by xclip or wl-paste,
// and through a pipe. The program is the first argument.
#include "AuthorizingEntry.h"
#include "CaptureFixture.h"
#include "ImagingTestSupport.h"
#include "PatternWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const QRect Region(100, 50, 200, 150);
const QString RegionText = QStringLiteral("200x150+100+50");

QString program()
{
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        if (!argument.startsWith(u'-'))
            return argument;
    return {};
}

struct GrabRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The program with its own environment; a desktop that asks first is answered by the
// session's portal, hence the long deadline.
GrabRun runGrab(const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program(), QStringList{QStringLiteral("--grab")} + arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The pixels Pillow reads against the screen's, as 0xRRGGBB.
std::vector<std::uint32_t> screenRegion()
{
    std::vector<std::uint32_t> pixels;
    for (int y = Region.top(); y <= Region.bottom(); ++y)
        for (int x = Region.left(); x <= Region.right(); ++x)
            pixels.push_back(PatternPixel(x, y) & 0xFFFFFF);
    return pixels;
}

bool isWayland() { return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"); }

// Where the program's clipboard is wl-clipboard's (compositors with clipboard control);
// under mutter the X11 one, which mutter shares.
bool usesWlClipboard() { return isWayland() && qgetenv("XDG_CURRENT_DESKTOP") != "GNOME"; }

// The clipboard's PNG, as another program pastes it.
QByteArray pastedPng()
{
    QProcess paste;
    if (usesWlClipboard())
        paste.start(QStringLiteral("wl-paste"),
                    {QStringLiteral("--no-newline"), QStringLiteral("--type"), QStringLiteral("image/png")});
    else
        paste.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                              QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("image/png")});
    paste.waitForFinished(20000);
    return paste.readAllStandardOutput();
}

// The grab processes still running, by their command line.
int runningGrabs()
{
    int running = 0;
    QDirIterator processes(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (processes.hasNext()) {
        QFile line(processes.next() + QStringLiteral("/cmdline"));
        if (line.open(QIODevice::ReadOnly) && line.readAll().startsWith(QFile::encodeName(program()) + '\0'))
            ++running;
    }
    return running;
}

class GrabDesktop : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (qgetenv("XDG_CURRENT_DESKTOP") == "KDE")
            s_entry = new AuthorizingEntry(QStringLiteral("scrimble-grab-test"), program());
        s_pattern = new PatternWindow(QGuiApplication::primaryScreen()->virtualSize());
        s_shown = s_pattern->showAndSettle();
    }
    static void TearDownTestSuite()
    {
        delete s_pattern;
        delete s_entry;
    }
    void SetUp() override { ASSERT_TRUE(s_shown); }

    QTemporaryDir m_folder;

private:
    static inline PatternWindow* s_pattern = nullptr;
    static inline AuthorizingEntry* s_entry = nullptr;
    static inline bool s_shown = false;
};

// What the file's bytes must show besides its pixels.
enum class Shape { Plain, Grey, StoredPng, Bmp16, Rle8, Quality100, Progressive };

// Quality 100: the first quantization table divides by 1 everywhere.
bool quantizesByOne(const std::vector<std::uint8_t>& jpeg)
{
    for (std::size_t at = 0; at + 69 < jpeg.size(); ++at)
        if (jpeg[at] == 0xFF && jpeg[at + 1] == 0xDB)
            return std::all_of(jpeg.begin() + static_cast<std::ptrdiff_t>(at + 5),
                               jpeg.begin() + static_cast<std::ptrdiff_t>(at + 69),
                               [](std::uint8_t q) { return q == 1; });
    return false;
}

struct FormatCase {
    const char* name;
    const char* file;
    QStringList flags;
    double minimumPsnr;  // 0: every pixel exact
    Shape shape;
};

class GrabFormat : public GrabDesktop, public testing::WithParamInterface<FormatCase>
{};

bool hasShape(const FormatCase& c, const std::vector<std::uint8_t>& bytes, const PillowImage& image)
{
    switch (c.shape) {
    case Shape::Plain: return true;
    case Shape::Grey:
        return std::all_of(image.rgb.begin(), image.rgb.end(), [](std::uint32_t p) {
            return (p >> 16 & 0xFF) == (p >> 8 & 0xFF) && (p >> 8 & 0xFF) == (p & 0xFF);
        });
    case Shape::StoredPng: return bytes.size() > static_cast<std::size_t>(Region.width() * Region.height() * 3);
    case Shape::Bmp16: return bytes.size() > 30 && (bytes[28] | bytes[29] << 8) == 16;
    case Shape::Rle8: return bytes.size() > 34 && (bytes[28] | bytes[29] << 8) == 8 && le32(bytes, 30) == 1;
    case Shape::Quality100: return quantizesByOne(bytes);
    case Shape::Progressive: return image.fields.count("info.progressive") == 1;
    }
    return false;
}

TEST_P(GrabFormat, WritesTheRegionsPixels)
{
    const FormatCase& c = GetParam();
    const GrabRun run = runGrab(
        QStringList{QStringLiteral("--region"), RegionText, QStringLiteral("--output"), QString::fromLatin1(c.file)}
            + c.flags,
        m_folder.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const std::string path = m_folder.filePath(QString::fromLatin1(c.file)).toStdString();
    const PillowImage image = decodeWithPillow(path);
    ASSERT_TRUE(image.ok);
    ASSERT_EQ(QSize(image.width, image.height), Region.size());
    if (c.minimumPsnr == 0)
        EXPECT_EQ(image.rgb, screenRegion());
    else
        EXPECT_GE(psnr(screenRegion(), image.rgb), c.minimumPsnr);
    EXPECT_TRUE(hasShape(c, readFileBytes(path), image));
}

INSTANTIATE_TEST_SUITE_P(Formats, GrabFormat,
                         testing::Values(FormatCase{"Png", "a.png", {}, 0, Shape::Plain},
                                         FormatCase{"PngLevel0", "a.png", {"--png-level", "0"}, 0, Shape::StoredPng},
                                         FormatCase{"Bmp", "a.bmp", {}, 0, Shape::Plain},
                                         FormatCase{"Bmp16", "a.bmp", {"--depth", "16"}, 35, Shape::Bmp16},
                                         FormatCase{"Bmp8Rle", "a.bmp", {"--depth", "8", "--rle"}, 15, Shape::Rle8},
                                         FormatCase{"Jpeg", "a.jpg", {"--jpeg-quality", "100"}, 20, Shape::Quality100},
                                         FormatCase{
                                             "JpegProgressive", "a.jpeg", {"--progressive"}, 15, Shape::Progressive},
                                         FormatCase{"Gray", "a.png", {"--gray", "255"}, 5, Shape::Grey}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GrabDesktop, PipeGetsThePng)
{
    const GrabRun run = runGrab(
        {QStringLiteral("--region"), RegionText, QStringLiteral("--output"), QStringLiteral("-")}, m_folder.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString file = m_folder.filePath(QStringLiteral("piped.png"));
    writeFileBytes(file.toStdString(), std::vector<std::uint8_t>(run.out.begin(), run.out.end()));
    const PillowImage image = decodeWithPillow(file.toStdString());
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.fields.at("format"), "PNG");
    EXPECT_EQ(image.rgb, screenRegion());
}

// The command returns at once; the image stays pasteable until another program copies.
TEST_F(GrabDesktop, ClipboardServesThePixelsUntilAnotherCopy)
{
    const GrabRun run =
        runGrab({QStringLiteral("--region"), RegionText, QStringLiteral("--clipboard")}, m_folder.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    // wl-copy's background process takes the selection a moment after its first one ends.
    QByteArray png;
    EXPECT_TRUE(QTest::qWaitFor([&png] { return !(png = pastedPng()).isEmpty(); }, 10000));
    const QString file = m_folder.filePath(QStringLiteral("pasted.png"));
    writeFileBytes(file.toStdString(), std::vector<std::uint8_t>(png.begin(), png.end()));
    const PillowImage image = decodeWithPillow(file.toStdString());
    ASSERT_TRUE(image.ok) << png.size() << " bytes pasted";
    EXPECT_EQ(image.rgb, screenRegion());

    // Another program's copy; xclip's own process is ended by the test.
    QProcess copy;
    if (usesWlClipboard())
        copy.start(QStringLiteral("wl-copy"), {QStringLiteral("--clear")});
    else
        copy.start(QStringLiteral("xclip"),
                   {QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
    copy.write("text");
    copy.closeWriteChannel();
    EXPECT_TRUE(QTest::qWaitFor([] { return runningGrabs() == 0; }, 10000));
    copy.kill();
    copy.waitForFinished();
}

// One line on standard error, the documented status, and no file.
struct BadCase {
    const char* name;
    std::function<QStringList(QSize screen)> arguments;
    int status;
    const char* redirect;  // standard output goes there
};

class GrabRefused : public GrabDesktop, public testing::WithParamInterface<BadCase>
{};

TEST_P(GrabRefused, OneLineAndNoFile)
{
    const BadCase& c = GetParam();
    const QStringList arguments = c.arguments(QGuiApplication::primaryScreen()->virtualSize());
    QProcess process;
    process.setWorkingDirectory(m_folder.path());
    if (c.redirect)
        process.setStandardOutputFile(QString::fromLatin1(c.redirect));
    process.start(program(), QStringList{QStringLiteral("--grab")} + arguments);
    ASSERT_TRUE(process.waitForFinished(60000));
    const QByteArray error = process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), c.status) << error.toStdString();
    EXPECT_EQ(error.count('\n'), 1) << error.toStdString();
    EXPECT_TRUE(error.startsWith("scrimble: ")) << error.toStdString();
    EXPECT_TRUE(QDir(m_folder.path()).isEmpty());
}

QStringList to(const char* file, const QString& region = RegionText)
{
    return {QStringLiteral("--region"), region, QStringLiteral("--output"), QString::fromLatin1(file)};
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, GrabRefused,
    testing::Values(BadCase{"RegionPartlyOffTheScreen",
                            [](QSize screen) {
                                return to("a.png", QStringLiteral("200x150+%1+50").arg(screen.width() - 100));
                            },
                            3, nullptr},
                    BadCase{"EmptyRegion", [](QSize) { return to("a.png", QStringLiteral("0x0")); }, 2, nullptr},
                    BadCase{"MissingValue", [](QSize) { return QStringList{QStringLiteral("--output")}; }, 2, nullptr},
                    BadCase{"UnknownExtension", [](QSize) { return to("a.gif"); }, 2, nullptr},
                    BadCase{"FolderThatCannotBeWritten", [](QSize) { return to("/proc/a.png"); }, 4, nullptr},
                    BadCase{"FullDevice", [](QSize) { return to("-"); }, 4, "/dev/full"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
