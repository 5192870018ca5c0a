#include "WlClipboard.h"

#include "ClipboardImages.h"

#include <QImage>

namespace {

constexpr int ToolTimeoutMs = 5000;

QByteArray run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForStarted(ToolTimeoutMs))
        return {};
    tool.write(input);
    tool.closeWriteChannel();
    if (!tool.waitForFinished(ToolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    return tool.exitCode() == 0 ? tool.readAllStandardOutput() : QByteArray();
}

QStringList types()
{
    return QString::fromUtf8(run(QStringLiteral("wl-paste"), {QStringLiteral("--list-types")}))
        .split(u'\n', Qt::SkipEmptyParts);
}

// PNG first: every program that copies an image offers it, and it arrives unchanged.
QString imageType(const QStringList& offered)
{
    if (offered.contains(QStringLiteral("image/png")))
        return QStringLiteral("image/png");
    for (const QString& type : offered)
        if (type.startsWith(QStringLiteral("image/")))
            return type;
    return {};
}

}  // namespace

WlClipboard::WlClipboard()
{
    // One line per change, the current contents first.
    m_watch.start(QStringLiteral("wl-paste"), {QStringLiteral("--watch"), QStringLiteral("echo"), QStringLiteral("x")});
}

WlClipboard::~WlClipboard()
{
    m_watch.kill();
    m_watch.waitForFinished();
}

void WlClipboard::collectChanges()
{
    m_watch.waitForReadyRead(0);
    while (m_watch.canReadLine()) {
        m_watch.readLine();
        ++m_changes;
    }
}

bool WlClipboard::hasImage()
{
    collectChanges();
    if (m_changes != m_looked) {
        m_looked = m_changes;
        m_imageType = imageType(types());
    }
    return !m_imageType.isEmpty();
}

// The types are those of the last look, unless a change came since.
bool WlClipboard::takeImage(DeviceContext& holder)
{
    if (!hasImage())
        return false;
    const long takenAt = m_looked;
    if (!holdPicture(QImage::fromData(run(QStringLiteral("wl-paste"), {QStringLiteral("--type"), m_imageType})), holder))
        return false;
    m_taken = takenAt;
    return true;
}

void WlClipboard::clearTaken()
{
    collectChanges();
    if (m_changes == m_taken)
        clear();
}

void WlClipboard::clear()
{
    run(QStringLiteral("wl-copy"), {QStringLiteral("--clear")});
    m_imageType.clear();
}

void WlClipboard::setImage(const DibSnapshot& image)
{
    run(QStringLiteral("wl-copy"), {QStringLiteral("--type"), QStringLiteral("image/png")}, fastPng(imageOf(image)));
}
