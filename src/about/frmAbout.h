#pragma once
// The About box: the program's name, version and what it does, and a button that
// starts the system's information program. Shown modeless from the version menu.

#include <QWidget>

class QLabel;
class QPushButton;
struct Platform;

// The version the box shows: major, minor and revision.
[[nodiscard]] QString VersionText(int major, int minor, int revision);

class frmAbout final : public QWidget
{
    Q_OBJECT
public:
    explicit frmAbout(Platform& platform);

    // Sets the caption and the version text; runs each time the box is shown anew.
    void Form_Load();

private:
    void buildControls();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

    Platform& m_platform;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};
