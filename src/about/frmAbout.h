#pragma once
// The About box: the program's name, version and what it does, and a button that
// starts the system's information program. Shown modeless from the version menu. Its
// controls come from frmAbout.ui.

#include <QWidget>

#include <memory>

class Dialogs;
class SystemInformation;

namespace Ui {
class frmAbout;
}

// The version the box shows: major, minor and revision.
[[nodiscard]] QString VersionText(int major, int minor, int revision);

class frmAbout final : public QWidget
{
    Q_OBJECT
public:
    frmAbout(SystemInformation& systemInformation, Dialogs& dialogs);
    ~frmAbout() override;

    // Sets the caption and the version text; runs each time the box is shown anew.
    void Form_Load();

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

    std::unique_ptr<Ui::frmAbout> m_ui;
    SystemInformation& m_systemInformation;
    Dialogs& m_dialogs;
};
