#pragma once
// The command panel's number fields as pure rules on texts and values: what a
// field's commit (losing the focus) stores and shows, Update's outline, Select
// all, the capture timer and the screen information text. The panel reads its
// controls, calls these and writes the results back.
//
// A field's text is read by the locale's rules ("1,024" is 1024) and rounded
// down (12.9 -> 12, -3.5 -> -4). Text that is not a number keeps the previous
// value, and the field shows that value again.

#include "SelectionGeometry.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

struct CaptureSelection;

inline constexpr int MinMagnification = 50;  // percent
inline constexpr int MaxMagnification = 200;
inline constexpr int MaxCaptureDelay = 30;  // seconds; the delay spin button's range

// A committed field: the variable's new value and the field's new text.
struct FieldCommit {
    std::int32_t value = 0;
    QString text;
};

// A committed coordinate field. oppositeText is set when the opposite field's
// text had to move onto this one; the opposite variable is never touched.
struct CoordinateCommit {
    std::int32_t value = 0;
    QString text;
    std::optional<QString> oppositeText;
};

// sX / sY: clamp to 0..screenExtent; pull the end field's text up to the start.
[[nodiscard]] CoordinateCommit CommitStartField(const QString& text, const QString& endText, std::int32_t previous,
                                                std::int32_t screenExtent);
// eX / eY: raise to 0; pull the start field's text down to the end (compared
// before the upper clamp); then clamp to screenExtent.
[[nodiscard]] CoordinateCommit CommitEndField(const QString& text, const QString& startText, std::int32_t previous,
                                              std::int32_t screenExtent);
// Text2: clamped to 50..200 percent. Takes effect at the next refresh.
[[nodiscard]] FieldCommit CommitMagnification(const QString& text, std::int16_t previous);
// Text1: seconds, kept to 0..30 so the timer interval stays valid. A number in range
// keeps its text as typed ("2.7" waits 2 s); a held value or the previous one is shown.
[[nodiscard]] FieldCommit CommitCaptureDelay(const QString& text, std::int16_t previous);

// Timer1's interval in milliseconds for a delay in seconds: delay x 1000 + 1
// (0 -> 1, 30 -> 30001); a delay outside 0..30 is clamped first.
[[nodiscard]] int CaptureTimerInterval(std::int16_t delaySeconds);

// Update's outline from the committed coordinates, visibility kept from current.
// A start field committed after its end field can leave the end before the start;
// the outline then spans the same two corners the other way round, so it stays
// on the screen the user typed.
[[nodiscard]] ShapeRect UpdateRect(const CaptureSelection& selection, const ShapeRect& current);

// Select all over a width x height desktop copy: stores the selection and view
// sizes, commits the corners (0, 0) and (width, height), and returns the visible
// whole-screen outline and the field texts sX, sY, eX, eY ("0", "0", width, height).
struct SelectAllResult {
    ShapeRect shape;
    std::array<QString, 4> fieldTexts;
};
[[nodiscard]] SelectAllResult SelectAll(CaptureSelection& selection, std::int32_t width, std::int32_t height);

// The corners of a mouse selection's outline, L, T, L + W, T + H, committed as typed
// fields would be, so that the fields, the variables and the outline agree and a
// later Update (the save's) keeps the outline; returns the texts sX, sY, eX, eY.
[[nodiscard]] std::array<QString, 4> CommitCorners(CaptureSelection& selection, const ShapeRect& shape);

// The screen information message box.
[[nodiscard]] QString ScreenInfoTitle();
[[nodiscard]] QString ScreenInfoText(std::int32_t width, std::int32_t height, std::int16_t bitsPerPixel);
