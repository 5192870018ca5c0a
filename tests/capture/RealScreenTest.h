#pragma once

#include <QObject>

class RealScreenTest final : public QObject
{
    Q_OBJECT
private slots:
    void selectionOfThePaintedScreen();
};
