#include "WlClipboard.h"

#include "ClipboardImages.h"

#include <sys/prctl.h>

#include <chrono>
#include <csignal>

namespace {

// As the X11 reader: an owner that has not handed over its image by then is given up.
constexpr std::chrono::milliseconds ReadDeadline{3000};

// A program of ours that ends when we do, also when we are killed.
void endsWithUs(QProcess& tool)
{
    tool.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

QString imageType(const QStringList& offered)
{
    for (const std::string_view type : ReadableImageTypes)
        if (const QLatin1String name(type.data(), static_cast<qsizetype>(type.size())); offered.contains(name))
            return name;
    return {};
}

// The copy's image, read by wl-paste within the deadline and the size cap.
ClipboardCopy readImage(ClipboardCopyId id)
{
    using Outcome = ClipboardCopy::Outcome;
    const auto until = std::chrono::steady_clock::now() + ReadDeadline;
    const auto left = [&until] {
        return static_cast<int>(std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count()));
    };
    QProcess tool;
    endsWithUs(tool);
    tool.start(QStringLiteral("wl-paste"), {QStringLiteral("--list-types")});
    // KWin leaves wl-paste waiting for ever on an empty clipboard: no answer is no image.
    if (!tool.waitForFinished(left())) {
        tool.kill();
        tool.waitForFinished();
        return {Outcome::NoImage, id, {}};
    }
    const QString type = imageType(QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts));
    if (type.isEmpty())
        return {Outcome::NoImage, id, {}};
    tool.start(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline"), QStringLiteral("--type"), type});
    QByteArray bytes;
    while (tool.state() != QProcess::NotRunning || tool.bytesAvailable() > 0) {
        if (left() == 0 || bytes.size() > MaxClipboardBytes) {
            tool.kill();
            tool.waitForFinished();
            return {bytes.size() > MaxClipboardBytes ? Outcome::TooLarge : Outcome::TimedOut, id, {}};
        }
        tool.waitForReadyRead(std::min(left(), 100));
        bytes += tool.readAllStandardOutput();
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0 || bytes.isEmpty())
        return {Outcome::NoImage, id, {}};
    return {Outcome::Image, id, std::move(bytes)};
}

}  // namespace

WlClipboard::WlClipboard()
{
    endsWithUs(m_watch);
    // One line per change, the current contents first.
    m_watch.start(QStringLiteral("wl-paste"), {QStringLiteral("--watch"), QStringLiteral("echo"), QStringLiteral("x")});
}

WlClipboard::~WlClipboard()
{
    if (m_reader.joinable())
        m_reader.join();
    m_watch.kill();
    m_watch.waitForFinished();
}

ClipboardCopyId WlClipboard::currentCopy()
{
    m_watch.waitForReadyRead(0);
    while (m_watch.canReadLine()) {
        m_watch.readLine();
        ++m_changes;
    }
    return m_changes;
}

bool WlClipboard::read(Done done)
{
    if (m_reading)
        return false;
    if (m_reader.joinable())
        m_reader.join();
    m_reading = true;
    const ClipboardCopyId id = currentCopy();
    m_reader = std::thread([this, id, done = std::move(done)] {
        ClipboardCopy copy = readImage(id);
        QMetaObject::invokeMethod(
            &m_context,
            [this, done, copy = std::move(copy)]() mutable {
                m_reading = false;
                // A change reported meanwhile may have brought the bytes read: they
                // cannot be told from the copy the read began with.
                if (currentCopy() != copy.id)
                    copy = {ClipboardCopy::Outcome::Replaced, copy.id, {}};
                done(copy);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void WlClipboard::clearCopy(ClipboardCopyId id)
{
    if (currentCopy() == id)
        clear();
}

// Started, not waited for: the window goes on while the compositor clears.
void WlClipboard::clear()
{
    startTool({QStringLiteral("--clear")}, {});
}

void WlClipboard::setImage(const DeviceContext& picture, int width, int height)
{
    m_copying = startTool({QStringLiteral("--type"), QStringLiteral("image/png")}, fastPng(imageOf(picture, width, height)));
}

void WlClipboard::whenImageReleased(std::function<void()> released)
{
    if (!m_copying) {
        released();
        return;
    }
    QObject::connect(m_copying, &QObject::destroyed, &m_context, [released = std::move(released)] { released(); });
}

// wl-copy with the arguments and input, not waited for; it goes away when it ends.
QProcess* WlClipboard::startTool(const QStringList& arguments, const QByteArray& input)
{
    auto* tool = new QProcess(&m_context);
    endsWithUs(*tool);
    QObject::connect(tool, &QProcess::finished, tool, &QObject::deleteLater);
    QObject::connect(tool, &QProcess::errorOccurred, tool, &QObject::deleteLater);
    tool->start(QStringLiteral("wl-copy"), arguments);
    tool->write(input);
    tool->closeWriteChannel();
    return tool;
}
