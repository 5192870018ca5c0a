#pragma once

#include <QObject>

class PictureWindowTest final : public QObject
{
    Q_OBJECT
private slots:
    void exactPixelsAt24Bits();
    void keepsPictureWhileHidden();
    void eightBitsAtMost256Colours();
    void greyAfterUpdateOnly();
    void magnifiedClientArea_data();
    void magnifiedClientArea();
};
