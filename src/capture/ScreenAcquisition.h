#pragma once
// The one way the capture mode takes the screen into its model: the desktop copy's
// first grab, and the new one the take-image command asks for after its delay (Timer1).
// Both go through the same request, so a desktop that is slow to hand the screen
// over gets the wait window and its cancel each time.

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class CaptureModel;
class ScreenGrabber;
class ScreenRequest;
struct ScreenShot;

class ScreenAcquisition final : public QObject
{
    Q_OBJECT
public:
    ScreenAcquisition(ScreenGrabber& screen, CaptureModel& model);
    ~ScreenAcquisition() override;

    // Takes the screen now: done(true) once the model holds it, done(false) when it
    // could not be had (error() says why); within the call where the screen is read
    // directly, else later from the event loop. Drops one pending.
    void acquire(std::function<void(bool)> done);
    // Takes the screen again intervalMs from now, once; recaptured() tells the outcome.
    void acquireAfter(int intervalMs);
    // Gives up the one pending, timer and request; nothing is told.
    void stop();
    // Why the last capture failed.
    [[nodiscard]] const QString& error() const { return m_error; }
    // Timer1, for reading its state.
    [[nodiscard]] const QTimer& recaptureTimer() const { return Timer1; }

signals:
    // The delayed capture is over: the screen was taken again (grabbed) or not.
    void recaptured(bool grabbed);
    // The user gave the first capture up in the wait window.
    void cancelled();
    // The user gave the delayed capture up in the wait window; the model is unchanged.
    void recaptureCancelled();

private:
    void Timer1_Timer();
    // The request's outcome into the model; false when there was no picture.
    [[nodiscard]] bool take(ScreenShot shot);

    CaptureModel& m_model;
    std::unique_ptr<ScreenRequest> m_request;
    QTimer Timer1;               // the take-image command's delay; fires once per arming
    bool m_recapturing = false;  // the request under way is the delayed one
    QString m_error;
};
