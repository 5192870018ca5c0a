#include "WlClipboard.h"

#include "ClipboardImages.h"

#include <QProcess>

WlClipboard::WlClipboard(std::unique_ptr<DataControlSession> session) : m_session(std::move(session)) {}

void WlClipboard::setImage(const DeviceContext& picture, int width, int height)
{
    auto* tool = new QProcess(&m_context);
    QObject::connect(tool, &QProcess::finished, tool, &QObject::deleteLater);
    QObject::connect(tool, &QProcess::errorOccurred, tool, &QObject::deleteLater);
    tool->start(QStringLiteral("wl-copy"), {QStringLiteral("--type"), QStringLiteral("image/png")});
    tool->write(fastPng(imageOf(picture, width, height)));
    tool->closeWriteChannel();
}
