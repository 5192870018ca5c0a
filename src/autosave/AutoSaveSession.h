#pragma once
// What the auto-save mode works with while it is open: the output folder, the
// numbered names, the format and the overwrite rule. The mode owns it; the window
// shows it and reports the user's edits, which land here; each copy's job takes a
// copy of it, and the writer's report moves the names on here.

#include "AutoSaveFields.h"
#include "NumberedNames.h"

#include <optional>

class AutoSaveSession
{
public:
    [[nodiscard]] const NamingState& naming() const { return m_naming; }
    [[nodiscard]] const CaptureFormat& format() const { return m_format; }

    void setFolder(const QString& folder) { m_naming.folder = folder; }
    void setPattern(const QString& pattern) { m_naming.pattern = pattern; }
    // The pattern as the user left it: normalised, or BrokenRun (nothing changed).
    [[nodiscard]] PatternCheck checkPattern() { return NormalizePattern(m_naming); }
    // The serial field's text held to 0..maximum: the text the field must show
    // instead, if any. Text that is no number keeps the serial number.
    [[nodiscard]] std::optional<QString> editSerial(const QString& text);
    void setOverwriteAllowed(bool allowed) { m_naming.overwriteAllowed = allowed; }
    void setFormat(const CaptureFormat& format) { m_format = format; }
    // The first free number from the serial number on; false when there is none.
    bool findStartNumber(const FileIsFree& isFree) { return FindStartNumber(m_naming, isFree); }
    // A file written: the names go on from where the writer left them; the overwrite
    // rule stays the user's, who may have changed it meanwhile.
    void fileWritten(const NamingState& after);

private:
    NamingState m_naming;
    CaptureFormat m_format;
};
