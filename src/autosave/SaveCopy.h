#pragma once
// One copy of the clipboard written to the next numbered file: its bytes (PNG, BMP or
// JPEG, as the program that copied it offered them) decoded by the image library,
// converted and written; then the serial number moves on. A write that fails leaves
// the names as they were and says which file and why. Without overwriting, no
// existing file is ever replaced: a taken name, even one taken while the file was
// written, moves the serial number on to the next free name. Bytes the library
// refuses to decode (too large, damaged) write nothing and leave the names as they
// were.

#include "CaptureFormat.h"
#include "NumberedNames.h"

#include <QByteArray>
#include <QString>

struct SaveResult {
    enum class Outcome { Saved, Failed, Unreadable };
    Outcome outcome = Outcome::Saved;
    QString fileName;  // Saved, Failed: the file
    DibStatus status;  // Failed, Unreadable: why
};

[[nodiscard]] SaveResult SaveCopy(const QByteArray& bytes, NamingState& naming, const CaptureFormat& format,
                                  const FileIsFree& isFree);

// The two halves of SaveCopy, so that one copy can be decoded while the one before
// it is written: the bytes decoded at 24 bits (status says why not), then written.
struct DecodedCopy {
    DibGuard image;
    DibStatus status;
};
[[nodiscard]] DecodedCopy DecodeCopy(const QByteArray& bytes);
// memory: the PNG writer's, kept by a caller that saves one copy after another.
[[nodiscard]] SaveResult SaveDecoded(const DecodedCopy& copy, NamingState& naming, const CaptureFormat& format,
                                     const FileIsFree& isFree, PngMemory* memory = nullptr);
