#pragma once

#include <QObject>

class SaveTest final : public QObject
{
    Q_OBJECT
private slots:
    void writesWhatTheOptionsSay_data();
    void writesWhatTheOptionsSay();
    void refusesWhatIsNoSelection_data();
    void refusesWhatIsNoSelection();
    void failedWriteIsReportedAndLeavesNothing_data();
    void failedWriteIsReportedAndLeavesNothing();
    void nextDialogProposesTheNameWithoutExtension();
    void savesTheSelectionTheOutlineShows_data();
    void savesTheSelectionTheOutlineShows();
    void copyPutsThePictureOnTheClipboard_data();
    void copyPutsThePictureOnTheClipboard();
    void copyWithoutAPictureSaysSo();
    void otherProgramsPasteTheCopy();
};
