#pragma once

#include <QObject>

class DesktopCopyTest final : public QObject
{
    Q_OBJECT
private slots:
    void drag_data();
    void drag();
    void handleDrag_data();
    void handleDrag();
    void clickOnHandle();
    void narrowSelection_data();
    void narrowSelection();
    void handleWhilePictureHidden();
    void overlayStaysOffTheCopy();
    void functionKeys();
};
