#pragma once
// What both modes say of the image files they write: the three formats, and the
// message of a write that failed. The image library gives a status; the words the
// user reads are these.

#include <QString>

#include <cstdint>

enum class SaveFormat : std::int16_t { Bmp = 0, Jpeg = 1, Png = 2 };
// The colour depth of a BMP file; the values are the windows' option indices.
enum class BmpDepth : std::int16_t { Bits24 = 0, Bits16 = 1, Bits8 = 2 };

// The image library's status (imaging/dibimage.h), named only here.
enum class DibError : std::uint8_t;
struct DibStatus;

[[nodiscard]] QString SaveErrorTitle();
// The image library's failure in the user's language.
[[nodiscard]] QString DibErrorMessage(DibError error);
// Names the file and the cause.
[[nodiscard]] QString SaveFailedText(const QString& fileName, const QString& cause);
[[nodiscard]] QString SaveFailedText(const QString& fileName, const DibStatus& status);
