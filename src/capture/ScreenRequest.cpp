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

ScreenRequest::~ScreenRequest()
{
    cancel();
}

void ScreenRequest::start(std::function<void(bool)> ready)
{
    cancel();
    m_ready = std::move(ready);
    m_askedAgain = 0;
    ask();
}

void ScreenRequest::cancel()
{
    if (m_ready)
        m_screen.cancelPrepare();
    m_ready = nullptr;
    m_quiet.stop();
    if (m_wait)
        m_wait->hide();
}

void ScreenRequest::ask()
{
    m_waitShown = false;
    m_quiet.start(m_askedAgain == 0 ? QuietMs : QuietAgainMs);
    m_screen.prepare([this](bool ready) { answered(ready); });
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

// The grabber waits for the screen to show the wait window gone before it asks again.
void ScreenRequest::answered(bool ready)
{
    m_quiet.stop();
    if (m_wait)
        m_wait->hide();
    if (ready && m_waitShown && m_askedAgain < MaxAskedAgain) {
        ++m_askedAgain;
        ask();
        return;
    }
    const std::function<void(bool)> done = std::move(m_ready);
    m_ready = nullptr;
    done(ready);
}
