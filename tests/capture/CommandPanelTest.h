#pragma once

#include <QObject>

class CommandPanelTest final : public QObject
{
    Q_OBJECT
private slots:
    void captions_data();
    void captions();
    void coordinateCommit_data();
    void coordinateCommit();
    void magnificationCommit_data();
    void magnificationCommit();
    void captureDelay_data();
    void captureDelay();
    void takeImageCapturesAgain();
    void selectAllAtHalfSize();
    void updateWithEndBeforeStart();
    void desktopToggle();
    void desktopToggleInNormalState();
    void endCommands_data();
    void endCommands();
    void screenInformation_data();
    void screenInformation();
    void menuShortcutsFromAField_data();
    void menuShortcutsFromAField();
    void fieldEditingKeysStillWork();
    void accessKeyCommitsTheFocusedField();
    void altAOpensTheMenuEveryTime();
};
