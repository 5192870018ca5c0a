#include "GrabCommand.h"

#include "imaging/dibimage.h"
#include "platform/ScreenGrabber.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

GrabOutcome screenFailure(const ScreenGrabber& screen)
{
    return {GrabExit::NoScreen,
            QCoreApplication::translate("GrabCommand", "the screen could not be taken: %1").arg(screen.error()), {}};
}

}  // namespace

GrabCommand::GrabCommand(ScreenGrabber& screen, GrabRequest request, GrabPlaces places)
    : m_screen(screen)
    , m_request(std::move(request))
    , m_places(std::move(places))
{
}

GrabCommand::~GrabCommand()
{
    if (m_waiting)
        m_screen.cancelPrepare();
}

void GrabCommand::start(Done done)
{
    m_done = std::move(done);
    QTimer::singleShot(m_request.delayMilliseconds, this, &GrabCommand::takeScreen);
}

void GrabCommand::takeScreen()
{
    m_waiting = true;
    m_screen.prepare([this](bool ready) { screenReady(ready); });
}

void GrabCommand::screenReady(bool ready)
{
    m_waiting = false;
    m_done(ready ? writeScreen() : screenFailure(m_screen));
}

GrabOutcome GrabCommand::writeScreen()
{
    const ScreenInfo info = m_screen.screenInfo();
    DeviceContext screen(info.width, info.height);
    if (!m_screen.grab(screen))
        return screenFailure(m_screen);
    const QRect region = m_request.region.value_or(QRect(0, 0, info.width, info.height));
    if (GrabOutcome refused = CheckRegion(region, screen); refused.status != GrabExit::Written)
        return refused;
    return WriteGrab(screen, region, m_request, m_places);
}
