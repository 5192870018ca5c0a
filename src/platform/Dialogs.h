#pragma once
// The one seam for every modal question the program asks: message boxes, the
// file-save dialog and the folder browser. Windows call these instead of QMessageBox /
// QFileDialog so that tests answer them and read their titles and texts.

#include <QString>
#include <optional>

class QWidget;

// The caption of a message box: its own title, or the program's when it has none.
[[nodiscard]] inline QString messageBoxTitle(const QString& title)
{
    return title.isEmpty() ? QStringLiteral("Scrimble Ver3.1.0") : title;
}

enum class MessageButtons { Ok, YesNo };  // YesNo: Yes is the default button
enum class MessageAnswer { Ok, Yes, No };

struct SaveFileRequest {
    QString title;
    QString filter;            // "BMPファイル(*.bmp)|*.bmp|..." pairs separated by "|"
    int filterIndex = 1;       // 1-based, as the caller keeps it between saves
    QString fileName;          // proposed name, may be empty
    QString defaultExtension;  // without the dot, appended when the name has none
    bool confirmOverwrite = true;
};

struct SaveFileAnswer {
    QString fileName;     // absolute path as chosen
    int filterIndex = 1;  // 1-based index of the chosen filter
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // title empty: the program's title "Scrimble Ver3.1.0".
    virtual MessageAnswer message(QWidget* parent, const QString& text, const QString& title,
                                  MessageButtons buttons) = 0;
    // nullopt when the user cancels.
    virtual std::optional<SaveFileAnswer> saveFile(QWidget* parent, const SaveFileRequest& request) = 0;
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) = 0;
};
