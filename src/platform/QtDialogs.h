#pragma once
// The program's real dialogs: QMessageBox and Qt's own file dialogs.

#include "Dialogs.h"

class QtDialogs final : public Dialogs
{
public:
    MessageAnswer message(QWidget* parent, const QString& text, const QString& title, MessageButtons buttons) override;
    std::optional<SaveFileAnswer> saveFile(QWidget* parent, const SaveFileRequest& request) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
};
