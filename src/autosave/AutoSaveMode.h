#pragma once
// The print-screen auto-save mode while it is open: owns the session (folder, names,
// format, overwrite rule), its window, which shows the session and reports its edits,
// and the watch, which gets the session's copy with each clipboard copy and reports
// each file written.
// A watch looks at the clipboard at the window's interval and writes every new image
// to the next numbered file, in the background (AutoSaveWatch); while it runs, the
// Print key copies the whole screen onto the clipboard (where the desktop lets us
// have the key). The window reports the user's commands as signals, connected to the
// steps here.

#include "AutoSaveSession.h"
#include "AutoSaveWatch.h"
#include "platform/Platform.h"
#include "shared/ModeLifecycle.h"
#include "shared/ModeHost.h"

#include <QObject>
#include <QTimer>

#include <memory>

class PrtScSave;
class Settings;

class AutoSaveMode final : public QObject, public OpenMode
{
    Q_OBJECT
public:
    // applicationFolder ends in "/".
    AutoSaveMode(Platform& platform, const Settings& settings, ModeHost& host, const QString& applicationFolder);
    ~AutoSaveMode() override;

    // The window's load, then the window shown.
    [[nodiscard]] ModeOpenResult load();

    [[nodiscard]] PrtScSave& window() { return *m_window; }
    // Timer1: its interval is 0 unless a watch runs.
    [[nodiscard]] const QTimer& watchTimer() const { return m_timer; }

private:
    void startWatch();
    void stopWatch();
    void watchTick();
    void takePrintKey();
    void copyScreenToClipboard();
    void showNote(const QString& printKeyLine);
    void connectSession();
    void checkPattern(bool atLoad);
    void editSerial(const QString& text);
    void findStartNumber();
    void copySaved(const NamingState& naming);
    void saveFailed(const QString& fileName, const DibStatus& status);

    Platform& m_platform;
    const Settings& m_settings;
    ModeLifecycle m_lifecycle;
    AutoSaveSession m_session;
    std::unique_ptr<PrtScSave> m_window;
    QTimer m_timer;
    AutoSaveWatch m_watch;
    QString m_printKeyLine;
    QString m_passedOverLine;  // the last copy not saved, and why
};
