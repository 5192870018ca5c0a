#pragma once
// A file replaced whole or not at all, the image writers' and Set.ini's alike. The new
// contents go to an unnamed file in the target's folder (O_TMPFILE), which gets a name
// only when everything is written, and is then renamed over the target: a failed
// write, a full disk or a killed process leaves the old file as it was and no
// temporary file behind. What the user had stays: a symbolic link is followed and its
// final target replaced, unless another user placed it in a shared sticky folder such
// as /tmp; the replaced file keeps its permission bits (and its owner,
// where the process may set it); a file the user may not write is not replaced. A
// writable file in a folder the user cannot write is written in place instead.
// With ExistingFile::Keep no link is followed and the new file gets its name by a
// rename that never replaces: a file that appears meanwhile stays and the write
// reports Exists.
// Plain POSIX, no Qt.

#include "ExistingFile.h"

#include <sys/stat.h>

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

enum class SafeFileError : unsigned char {
    None,
    CannotCreate,  // the folder is missing or not writable, the name is a folder, a
                   // device or a FIFO, or the existing file may not be written
    WriteFailed,   // disk full, I/O error, file-size limit: the target is as it was
    Exists,        // ExistingFile::Keep and anything of that name exists (a dangling
                   // link too): it is untouched
    NotYours,      // the name, or a link on the way, is another user's in a sticky
                   // folder that everyone may write to: nothing is written anywhere
};

class SafeFile
{
public:
    explicit SafeFile(std::string target, ExistingFile existing = ExistingFile::Replace);
    ~SafeFile();  // drops everything written unless commit() succeeded
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    [[nodiscard]] SafeFileError open();
    // The stream to write to, valid from a successful open() until commit().
    [[nodiscard]] std::FILE* stream() { return m_file; }
    [[nodiscard]] SafeFileError write(const void* data, std::size_t size);
    // Flushes and puts the new contents in place; WriteFailed when any write failed,
    // Exists when a file that must be kept took the name meanwhile.
    [[nodiscard]] SafeFileError commit();

private:
    enum class Kind { Unnamed, Named, InPlace };

    [[nodiscard]] SafeFileError resolveTarget();
    [[nodiscard]] SafeFileError openBeside();
    [[nodiscard]] bool giveName(int fd);
    [[nodiscard]] SafeFileError placeOver() const;
    [[nodiscard]] SafeFileError placeWithoutReplacing() const;
    void keepOwnerAndMode(int fd) const;

    std::string m_target;     // after following symbolic links
    std::string m_folder;     // the target's folder, ending in "/"
    std::string m_temporary;  // Named: the short name the new contents have meanwhile
    std::optional<struct stat> m_old;
    std::FILE* m_file = nullptr;
    Kind m_kind = Kind::Unnamed;
    ExistingFile m_existing;
    bool m_committed = false;
};
