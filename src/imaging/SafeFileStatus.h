#pragma once
// The writers' files go through the program's one safe-file component; its errors
// become the library's own at this boundary.

#include "dibimage.h"
#include "files/SafeFile.h"

[[nodiscard]] inline DibError toDibError(SafeFileError error)
{
    switch (error) {
    case SafeFileError::None: return DibError::None;
    case SafeFileError::CannotCreate: return DibError::CannotCreate;
    case SafeFileError::WriteFailed: return DibError::WriteFailed;
    case SafeFileError::Exists: return DibError::FileExists;
    case SafeFileError::NotYours: return DibError::NotYours;
    }
    return DibError::WriteFailed;
}
