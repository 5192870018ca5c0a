#pragma once
// A file written beside its target under a temporary name and renamed over the target
// only when everything was written: a failed write leaves neither a truncated file nor
// a damaged old one.

#include "dibimage.h"

#include <cstdio>
#include <string>

class AtomicFile
{
public:
    explicit AtomicFile(std::string target);
    ~AtomicFile();  // removes the temporary file unless commit() succeeded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; CannotCreate when the folder is missing or not writable.
    [[nodiscard]] DibError open();
    // The stream to write to (valid after open()).
    [[nodiscard]] std::FILE* stream() { return m_file; }
    [[nodiscard]] DibError write(const void* data, std::size_t size);
    // Flushes, closes and renames into place; WriteFailed when any write failed.
    [[nodiscard]] DibError commit();

private:
    std::string m_target;
    std::string m_temporary;
    std::FILE* m_file = nullptr;
    bool m_committed = false;
};
