#include "ScreenRequest.h"

#include "ScreenWait.h"
#include "platform/ScreenGrabber.h"

namespace {

// A desktop that keeps the user waiting each time would otherwise be asked for ever.
constexpr int MaxAskedAgain = 2;

}  // namespace

ScreenRequest::ScreenRequest(ScreenGrabber& screen) : m_screen(screen)
{
    m_quiet.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, &ScreenRequest::showWait);
}

ScreenRequest::~ScreenRequest() { cancel(); }

void ScreenRequest::start(std::function<void(ScreenShot)> done)
{
    cancel();
    m_done = std::move(done);
    m_askedAgain = 0;
    ask();
}

void ScreenRequest::cancel()
{
    if (m_done)
        m_screen.cancel();
    m_done = nullptr;
    m_quiet.stop();
    if (m_wait)
        m_wait->hide();
}

void ScreenRequest::ask()
{
    m_waitShown = false;
    m_quiet.start(m_askedAgain == 0 ? QuietMs : QuietAgainMs);
    m_screen.grab([this](ScreenShot shot) { answered(std::move(shot)); });
}

void ScreenRequest::showWait()
{
    if (!m_wait) {
        m_wait = std::make_unique<ScreenWait>();
        connect(m_wait.get(), &ScreenWait::cancelled, this, [this] {
            cancel();
            emit cancelled();
        });
    }
    m_waitShown = true;
    m_wait->show();
}

// A picture taken while the wait window showed may show it: the grabber waits for the
// screen to show the window gone before it asks again.
void ScreenRequest::answered(ScreenShot shot)
{
    m_quiet.stop();
    if (m_wait)
        m_wait->hide();
    if (shot.ok() && m_waitShown && m_askedAgain < MaxAskedAgain) {
        ++m_askedAgain;
        ask();
        return;
    }
    const std::function<void(ScreenShot)> done = std::move(m_done);
    m_done = nullptr;
    done(std::move(shot));
}
