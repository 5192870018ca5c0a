#pragma once

#include <QObject>

class OptionsWindowTest final : public QObject
{
    Q_OBJECT
private slots:
    void opensFromTheButtonAndF5_data();
    void opensFromTheButtonAndF5();
    void numberFields_data();
    void numberFields();
    void gammaPresetsAndReset();
    void eightBitGroupFollowsTheBitDepth();
    void reopeningShowsTheSameAndKeepsTheGamma();
    void refreshKeepsItInFront();
    void losingTheFocusClosesIt();
    void newCaptureHidesIt();
};
