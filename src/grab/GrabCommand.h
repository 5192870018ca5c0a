#pragma once
// `scrimble --grab`: after the delay, the screen from the same grabber as the capture
// mode (waiting, where the desktop asks the user first, for the answer), then the
// region written where the request says. No window, no Set.ini, no lock.

#include "GrabOutput.h"

#include <QObject>

#include <functional>

class ScreenGrabber;
struct ScreenShot;

class GrabCommand final : public QObject
{
public:
    using Done = std::function<void(const GrabOutcome&)>;

    GrabCommand(ScreenGrabber& screen, GrabRequest request, GrabPlaces places);
    ~GrabCommand() override;
    GrabCommand(const GrabCommand&) = delete;
    GrabCommand& operator=(const GrabCommand&) = delete;

    // Runs from the event loop; done is called once, with what came of it.
    void start(Done done);

private:
    void takeScreen();
    void screenTaken(const ScreenShot& shot);
    [[nodiscard]] GrabOutcome writeScreen(const DeviceContext& screen);

    ScreenGrabber& m_screen;
    GrabRequest m_request;
    GrabPlaces m_places;
    Done m_done;
    bool m_waiting = false;
};
