#include "ScriptedDialogs.h"

namespace {

template<typename T>
T takeFront(std::deque<T>& queue, const T& whenEmpty)
{
    const T front = queue.empty() ? whenEmpty : queue.front();
    if (!queue.empty())
        queue.pop_front();
    return front;
}

}  // namespace

MessageAnswer ScriptedDialogs::message(QWidget*, const QString& text, const QString& title, MessageButtons buttons)
{
    messages.push_back({messageBoxTitle(title), text, buttons});
    const MessageAnswer byDefault = buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    return takeFront(messageAnswers, byDefault);
}

std::optional<SaveFileAnswer> ScriptedDialogs::saveFile(QWidget*, const SaveFileRequest& request)
{
    saveRequests.push_back(request);
    return takeFront(saveAnswers, std::optional<SaveFileAnswer>{});
}

std::optional<QString> ScriptedDialogs::chooseFolder(QWidget*, const QString& title, const QString& startFolder)
{
    folderRequests.push_back({title, startFolder});
    return takeFront(folderAnswers, std::optional<QString>{});
}
