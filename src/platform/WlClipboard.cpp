#include "WlClipboard.h"

#include "ClipboardImages.h"

WlClipboard::WlClipboard(std::unique_ptr<DataControlSession> session) : m_session(std::move(session)) {}

void WlClipboard::setImage(const DeviceContext& picture, int width, int height)
{
    auto* tool = new QProcess(&m_context);
    QObject::connect(tool, &QProcess::finished, tool, &QObject::deleteLater);
    QObject::connect(tool, &QProcess::errorOccurred, tool, &QObject::deleteLater);
    tool->start(QStringLiteral("wl-copy"), {QStringLiteral("--type"), QStringLiteral("image/png")});
    tool->write(fastPng(imageOf(picture, width, height)));
    tool->closeWriteChannel();
    m_copying = tool;
}

void WlClipboard::whenImageReleased(std::function<void()> released)
{
    if (!m_copying) {
        released();
        return;
    }
    QObject::connect(m_copying, &QObject::destroyed, &m_context, [released = std::move(released)] { released(); });
}
