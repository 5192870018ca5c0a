#include "Xclip.h"

#include "X11Desktop.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QProcess>

#include <chrono>
#include <thread>

namespace {

QByteArray run(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                QStringList{QStringLiteral("-selection"), QStringLiteral("clipboard")} + arguments);
    xclip.write(input);
    xclip.closeWriteChannel();
    xclip.waitForFinished(5000);
    return xclip.readAllStandardOutput();
}

// xclip returns once its copy's child is forked, which may take the clipboard some
// time later: a copy is done when the clipboard has changed hands.
void copy(const QStringList& arguments, const QByteArray& input)
{
    const std::uint32_t before = X11Desktop::clipboardOwner();
    run(arguments, input);
    const QDeadlineTimer deadline(5000);
    while (X11Desktop::clipboardOwner() == before && !deadline.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

}  // namespace

namespace Xclip {

void copyImage(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    copyPng(png);
}

void copyPng(const QByteArray& bytes) { copyAs(QStringLiteral("image/png"), bytes); }

void copyAs(const QString& type, const QByteArray& bytes)
{
    copy({QStringLiteral("-t"), type, QStringLiteral("-i")}, bytes);
}

void copyText(const QString& text) { copy({QStringLiteral("-i")}, text.toUtf8()); }

QString targets()
{
    return QString::fromUtf8(run({QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("TARGETS")}));
}

QString text() { return QString::fromUtf8(run({QStringLiteral("-o")})); }

QImage image()
{
    return QImage::fromData(run({QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("image/png")}), "PNG");
}

}  // namespace Xclip
