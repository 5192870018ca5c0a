#pragma once
// The mode chooser: the program's first window. Its load opens the stored default mode
// without showing itself, or shows itself and waits for OK. It deletes itself once a
// mode is open or when its close button is pressed. Its controls come from SelectMode.ui.

#include <QWidget>

#include <memory>

class ModeHost;
class Settings;

namespace Ui {
class SelectMode;
}

class SelectMode : public QWidget
{
    Q_OBJECT
public:
    SelectMode(ModeHost& host, const Settings& settings);
    ~SelectMode() override;

    // The load handler: opens the stored mode when "Boolean" is 1, else shows the chooser.
    void load();
    void Command1_Click();

private:
    void unload();

    std::unique_ptr<Ui::SelectMode> m_ui;
    ModeHost& m_host;
    const Settings& m_settings;
};
