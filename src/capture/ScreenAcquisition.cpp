#include "ScreenAcquisition.h"

#include "CaptureModel.h"
#include "ScreenRequest.h"
#include "platform/ScreenGrabber.h"

ScreenAcquisition::ScreenAcquisition(ScreenGrabber& screen, CaptureModel& model)
    : m_model(model)
    , m_request(std::make_unique<ScreenRequest>(screen))
{
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &ScreenAcquisition::Timer1_Timer);
    connect(m_request.get(), &ScreenRequest::cancelled, this, [this] {
        if (m_recapturing)
            emit recaptureCancelled();
        else
            emit cancelled();
    });
}

ScreenAcquisition::~ScreenAcquisition() = default;

void ScreenAcquisition::acquire(std::function<void(bool)> done)
{
    Timer1.stop();
    m_recapturing = false;
    m_request->start([this, done = std::move(done)](ScreenShot shot) { done(take(std::move(shot))); });
}

void ScreenAcquisition::acquireAfter(int intervalMs) { Timer1.start(intervalMs); }

void ScreenAcquisition::stop()
{
    Timer1.stop();
    m_request->cancel();
}

bool ScreenAcquisition::take(ScreenShot shot)
{
    m_error = shot.error;
    return m_model.takeScreen(std::move(shot));
}

// The take-image command hid every window of the mode before arming the timer, so
// the new copy shows the real desktop.
void ScreenAcquisition::Timer1_Timer()
{
    Timer1.stop();
    m_recapturing = true;
    m_request->start([this](ScreenShot shot) { emit recaptured(take(std::move(shot))); });
}
