#pragma once
// What every mode does with its windows alike: brings one to the front, moves between
// them by function keys, and ends, either back to the chooser or with the program.
//
// Back to the chooser, the mode's windows unload (the main one last), "Boolean"
// becomes "0" (the chooser shows at the next start) and the host shows the chooser.
// The main window closed in any other way ends the program, rather than leaving it
// running with nothing on the screen. A main window that refuses to close keeps the
// mode open.

#include <QObject>

#include <functional>
#include <vector>

class ModeHost;
class QWidget;
class Settings;

class ModeLifecycle final : public QObject
{
    Q_OBJECT
public:
    // Hidden windows keep their state until the mode goes; closed ones run their unload.
    enum class Unload { Hide, Close };

    ModeLifecycle(ModeHost& host, const Settings& settings);

    // The window whose close ends the mode.
    void setMainWindow(QWidget& window);
    // A window the mode unloads before its main window, in the order added.
    void addWindow(QWidget& window, Unload unload);
    // The key runs show from every window of the mode but own (nullptr: from all).
    void addFunctionKey(int key, const QWidget* own, std::function<void()> show);

    // A key pressed in one of the mode's windows; other keys do nothing.
    void functionKey(int key, const QWidget& from) const;
    // Also out of the minimised state, which show() alone leaves as it is.
    void showInFront(QWidget& window);

    void returnToChooser();
    // The main window's unload has run.
    void mainWindowClosed();

signals:
    // After a window came to the front: the mode restacks what stays behind.
    void shownInFront();
    // Before the windows unload on the way back to the chooser.
    void unloading();

private:
    struct FunctionKey {
        int key;
        const QWidget* own;
        std::function<void()> show;
    };
    struct ModeWindow {
        QWidget* window;
        Unload unload;
    };

    ModeHost& m_host;
    const Settings& m_settings;
    QWidget* m_mainWindow = nullptr;
    std::vector<ModeWindow> m_windows;
    std::vector<FunctionKey> m_keys;
    bool m_returningToChooser = false;
};
