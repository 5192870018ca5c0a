#include "Xclip.h"

#include <QBuffer>
#include <QProcess>

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
    run({QStringLiteral("-t"), type, QStringLiteral("-i")}, bytes);
}

void copyText(const QString& text) { run({QStringLiteral("-i")}, text.toUtf8()); }

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
