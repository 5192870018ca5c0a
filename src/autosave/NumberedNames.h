#pragma once
// The numbered file names of the print-screen auto-save mode as pure functions over
// a small state: a pattern with one run of "#" for the serial number's digits, the
// name of each capture, the serial number moved on after each save (with the "_$"
// rule when it passes its maximum), and the search for a free start number. Whether
// a file is free is asked of the function the caller hands in. Numbers are 64-bit,
// so no pattern length overflows; the searches go up to the larger of 9999 and the
// maximum.

#include <QString>

#include <cstdint>
#include <functional>

struct NamingState {
    QString pattern = QStringLiteral("Picture_####");  // the file-name field
    QString folder;                                    // no trailing "/" as a rule
    QString serial = QStringLiteral("0");              // the current-number field
    QString maximum;                                   // 10^DigitCount - 1 as text
    int DigitCount = 0;
    std::int64_t SuffixNumber = 0;  // replaces a final "$" of a tail longer than two
    bool overwriteAllowed = false;
    QString extension = QStringLiteral(".bmp");
};

class FileProbe;

// true when no file of that name exists.
using FileIsFree = std::function<bool(const QString& fileName)>;
// Free where the probe finds nothing of that name (a folder counts as taken).
[[nodiscard]] FileIsFree FreeWhereAbsent(const FileProbe& files);

enum class PatternCheck {
    Cut,         // cut before its first invalid character; nothing else changed
    Completed,   // had no "#": "_####" appended
    Normalized,  // DigitCount and the maximum follow its run of "#"
    BrokenRun,   // the "#" are not one run: nothing changed; tell the user
};

// The nine characters a name may not hold.
[[nodiscard]] bool IsInvalidNameCharacter(QChar c);
[[nodiscard]] PatternCheck NormalizePattern(NamingState& state);
[[nodiscard]] QString BrokenRunText();

struct ComposedName {
    QString baseName;  // folder + "/" + name, without extension
    QString fileName;  // baseName + extension
};
// The name of the next capture. A pattern without "#" is normalised first.
[[nodiscard]] ComposedName ComposeFileName(NamingState& state);

// After a capture saved under baseName: the next serial number, or the overflow step
// at the maximum. Without overwriting, the next number is the next free one; a search
// that passes the maximum goes to the overflow step instead of back onto the maximum.
void AdvanceCounter(NamingState& state, const QString& baseName, const FileIsFree& isFree);
// Past the maximum: a "_$" more on the pattern (or the next suffix number when the
// pattern already ends in "_$"), and the serial number back to 0.
void OverflowStep(NamingState& state, const QString& lastName, const FileIsFree& isFree);
// The first free number from the serial number up to the maximum becomes the serial
// number; false (nothing changed) when there is none.
bool FindStartNumber(NamingState& state, const FileIsFree& isFree);

// The serial number's value, rounded down and held to 0..maximum.
[[nodiscard]] std::int64_t SerialValue(const NamingState& state);
