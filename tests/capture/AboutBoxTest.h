#pragma once

#include <QObject>

class AboutBoxTest final : public QObject
{
    Q_OBJECT
private slots:
    void showsTheVersion();
    void systemInformation_data();
    void systemInformation();
    void newCaptureHidesIt();
};
