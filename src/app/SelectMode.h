#pragma once
// The mode chooser: the program's first window. Its load opens the stored default mode
// without showing itself, or shows itself and waits for OK. It deletes itself once a
// mode is open or when its close button is pressed.

#include <QWidget>

class ModeHost;
class Settings;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class SelectMode : public QWidget
{
    Q_OBJECT
public:
    SelectMode(ModeHost& host, const Settings& settings);

    // The load handler: opens the stored mode when "Boolean" is 1, else shows the chooser.
    void load();
    void Command1_Click();

    QGroupBox* Frame1;
    QRadioButton* Option1;
    QLabel* Label1;
    QRadioButton* Option2;
    QLabel* Label2;
    QCheckBox* Check1;
    QPushButton* Command1;

private:
    void unload();

    ModeHost& m_host;
    const Settings& m_settings;
};
