#pragma once

#include <QObject>

class CaptureModeTest final : public QObject
{
    Q_OBJECT
private slots:
    void loadShowsFrozenScreen();
    void panelStaysAboveDesktop();
    void clickGivesKeyboardFocus();
    void secondInstanceEndsSilently();
    void unusableLockIsReported();
    void unreadableScreenIsReported();
    void returnToChooser();
    void optionsAcrossModes();
    void newScreenSizeIsCopiedWhole_data();
    void newScreenSizeIsCopiedWhole();
};
