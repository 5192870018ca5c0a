#pragma once
// The auto-save window: the output folder, the numbered names, the format and its
// settings, the interval, and the start and stop buttons. It shows the session its
// mode holds and reports every edit of it, loads and stores folder and pattern in
// Set.ini, and reports start, stop, program end and the way back to the chooser. While
// its mode watches, it refuses to close and its settings are locked. Its controls come
// from PrtScSave.ui: the option buttons (Option1, Option2) and the settings frames
// (Frame2) share their name in threes and are told apart by their "index" property, so
// the form gives each a name of its own for uic and the shared one as its objectName.

#include "AutoSaveFields.h"
#include "NumberedNames.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>

inline constexpr std::int64_t DefaultWatchInterval = 500;

class QLineEdit;
class Settings;
class Dialogs;

namespace Ui {
class PrtScSave;
}

class PrtScSave final : public QMainWindow
{
    Q_OBJECT
public:
    // applicationFolder: the default output folder, without its trailing "/".
    PrtScSave(Dialogs& dialogs, const Settings& settings, QString applicationFolder);
    ~PrtScSave() override;

    void Form_Load();

    // The pattern, its maximum and the serial number as the session has them.
    void showNaming(const NamingState& naming);
    // The serial number's field shows text instead of what was typed.
    void showSerial(const QString& text);
    // Back into the pattern's field, after a message on it.
    void focusPattern();
    // The watch interval the field shows, 1 to 30000 ms.
    [[nodiscard]] int watchInterval() const { return static_cast<int>(m_interval); }
    // Locks (or unlocks) everything a watch must not change.
    void setWatching(bool watching);
    // Lines under the buttons (empty: none) on what the session lets the watch see
    // and what became of the Print key.
    void showNote(const QString& text);

signals:
    void startRequested();  // Command3
    void stopRequested();   // Command4
    void chooserRequested();
    void folderEdited(const QString& folder);
    void patternEdited(const QString& pattern);
    // The pattern's field was left (atLoad: its first showing, with the window hidden).
    void patternLeft(bool atLoad);
    void serialEdited(const QString& text);
    void overwriteEdited(bool allowed);
    void formatEdited(const CaptureFormat& format);
    void startNumberRequested();  // Command2
    // The window has closed and stored folder and pattern.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectNaming();
    void connectFormat();
    void connectCommands();
    void Command1_Click();
    void Text4_Change();
    void Option1_Click(int index);
    // One setting of the format changed as the fields show it, and reported.
    template<typename Value>
    void editFormat(Value CaptureFormat::*setting, Value value)
    {
        m_format.*setting = value;
        emit formatEdited(m_format);
    }
    void EnableFormatSettings(int index, bool enabled);
    // Text5, Text6, Text7: the text held to [lower, upper]; previous when it is no number.
    [[nodiscard]] static std::int64_t holdField(QLineEdit* field, std::int64_t lower, std::int64_t upper,
                                                std::int64_t previous);
    void Form_Unload();

    Dialogs& m_dialogs;
    const Settings& m_settings;
    QString m_applicationFolder;
    std::unique_ptr<Ui::PrtScSave> m_ui;
    CaptureFormat m_format;  // as the fields show it
    std::int64_t m_interval = DefaultWatchInterval;
    bool m_watching = false;
};
