#include "SafeFile.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

SafeFile::SafeFile(std::string target) : m_target(std::move(target)) {}

SafeFile::~SafeFile()
{
    if (m_file)
        std::fclose(m_file);
    if (!m_temporary.empty() && !m_committed)
        ::unlink(m_temporary.c_str());
}

SafeFileError SafeFile::open()
{
    if (m_target.empty() || m_target.back() == '/')
        return SafeFileError::CannotCreate;
    // Process id and this object's address tell apart writes running at the same time.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string candidate = folderOf(m_target) + "." + nameOf(m_target) + ".tmp"
                                      + std::to_string(::getpid()) + "-"
                                      + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "-"
                                      + std::to_string(attempt);
        // 0666 less the umask, as for any new file of the user.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return SafeFileError::CannotCreate;
        }
        m_file = ::fdopen(fd, "wb");
        if (!m_file) {
            ::close(fd);
            ::unlink(candidate.c_str());
            return SafeFileError::CannotCreate;
        }
        // Encoders hand over a few kilobytes at a time: fewer, larger writes.
        std::setvbuf(m_file, nullptr, _IOFBF, std::size_t{1} << 16);
        m_temporary = candidate;
        return SafeFileError::None;
    }
    return SafeFileError::CannotCreate;
}

SafeFileError SafeFile::write(const void* data, std::size_t size)
{
    if (!m_file || std::fwrite(data, 1, size, m_file) != size)
        return SafeFileError::WriteFailed;
    return SafeFileError::None;
}

SafeFileError SafeFile::commit()
{
    if (!m_file)
        return SafeFileError::WriteFailed;
    const bool written = std::ferror(m_file) == 0 && std::fflush(m_file) == 0;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!written || !closed)
        return SafeFileError::WriteFailed;
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return SafeFileError::WriteFailed;
    m_committed = true;
    return SafeFileError::None;
}

const char* SafeFileErrorText(SafeFileError error)
{
    switch (error) {
    case SafeFileError::None: return "success";
    case SafeFileError::CannotCreate: return "cannot create the file";
    case SafeFileError::WriteFailed: return "writing the file failed";
    }
    return "unknown error";
}
