#pragma once
// Dialogs for tests: records every message box, save request and folder question,
// and answers from queues the test fills beforehand. With an empty queue a message
// box answers its default button (Ok, or Yes), and the file dialogs are cancelled.

#include "platform/Dialogs.h"

#include <deque>
#include <vector>

struct RecordedMessage {
    QString title;  // as shown: the program's title when the caller gave none
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
};

struct RecordedFolderRequest {
    QString title;
    QString startFolder;
};

class ScriptedDialogs final : public Dialogs
{
public:
    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::optional<SaveFileAnswer>> saveAnswers;
    std::deque<std::optional<QString>> folderAnswers;

    std::vector<RecordedMessage> messages;
    std::vector<SaveFileRequest> saveRequests;
    std::vector<RecordedFolderRequest> folderRequests;

    MessageAnswer message(QWidget* parent, const QString& text, const QString& title, MessageButtons buttons) override;
    std::optional<SaveFileAnswer> saveFile(QWidget* parent, const SaveFileRequest& request) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
};
