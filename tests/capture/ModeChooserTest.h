#pragma once

#include <QObject>

class ModeChooserTest final : public QObject
{
    Q_OBJECT
private slots:
    void chooserOpensTheMode();
    void storedDefaultOpensTheMode();
    void returnAndComeBack();
    void selectionSurvivesTheChooser();
    void secondInstanceExitsWritingNothing();
};
