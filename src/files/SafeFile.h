#pragma once
// A file replaced whole or not at all: written beside its target under a temporary
// name and renamed over the target only when every byte was written, so a failed
// write leaves neither a truncated file nor a damaged old one. Plain POSIX and no
// Qt, so that the image writers and the settings file share it.

#include <cstddef>
#include <cstdio>
#include <string>

enum class SafeFileError : unsigned char {
    None,
    CannotCreate,  // the folder is missing or not writable, or the name names a folder
    WriteFailed,   // disk full, I/O error, file-size limit: the target is as it was
};

[[nodiscard]] const char* SafeFileErrorText(SafeFileError error);

class SafeFile
{
public:
    explicit SafeFile(std::string target);
    ~SafeFile();  // removes the temporary file unless commit() succeeded
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the temporary file.
    [[nodiscard]] SafeFileError open();
    // The stream to write to, valid from a successful open() until commit().
    [[nodiscard]] std::FILE* stream() { return m_file; }
    [[nodiscard]] SafeFileError write(const void* data, std::size_t size);
    // Flushes, closes and renames into place; WriteFailed when any write failed.
    [[nodiscard]] SafeFileError commit();

private:
    std::string m_target;
    std::string m_temporary;
    std::FILE* m_file = nullptr;
    bool m_committed = false;
};
