#include "GrabCommand.h"

#include "imaging/dibimage.h"
#include "platform/ScreenGrabber.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

GrabOutcome screenFailure(const QString& error)
{
    return {GrabExit::NoScreen,
            QCoreApplication::translate("GrabCommand", "the screen could not be taken: %1").arg(error),
            {}};
}

}  // namespace

GrabCommand::GrabCommand(ScreenGrabber& screen, GrabRequest request, GrabPlaces places)
    : m_screen(screen)
    , m_request(std::move(request))
    , m_places(std::move(places))
{}

GrabCommand::~GrabCommand()
{
    if (m_waiting)
        m_screen.cancel();
}

void GrabCommand::start(Done done)
{
    m_done = std::move(done);
    QTimer::singleShot(m_request.delayMilliseconds, this, &GrabCommand::takeScreen);
}

void GrabCommand::takeScreen()
{
    m_waiting = true;
    m_screen.grab([this](const ScreenShot& shot) { screenTaken(shot); });
}

void GrabCommand::screenTaken(const ScreenShot& shot)
{
    m_waiting = false;
    m_done(shot.ok() ? writeScreen(shot.picture) : screenFailure(shot.error));
}

GrabOutcome GrabCommand::writeScreen(const DeviceContext& screen)
{
    const QRect region = m_request.region.value_or(QRect(0, 0, screen.width(), screen.height()));
    if (GrabOutcome refused = CheckRegion(region, screen); refused.status != GrabExit::Written)
        return refused;
    return WriteGrab(screen, region, m_request, m_places);
}
