#include "SafeFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <ctime>

namespace {

constexpr int MaxLinks = 40;  // as the kernel's own limit for one path

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The kernel's rule for protected symbolic links, applied whatever the sysctl says,
// and to plain files too: in a sticky folder that everyone may write to (/tmp), an
// entry that neither this user nor the folder's owner owns was put there by somebody
// else, and writing through it or over it would write where that user chose.
bool plantedByAnotherUser(const struct stat& entry, const std::string& folder)
{
    struct stat holder {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &holder) != 0)
        return false;
    const bool shared = (holder.st_mode & S_ISVTX) != 0 && (holder.st_mode & S_IWOTH) != 0;
    return shared && entry.st_uid != ::geteuid() && entry.st_uid != holder.st_uid;
}

// A short name no other write uses at the same time: the temporary name must fit
// beside a target whose own name is close to the 255-byte limit.
std::string shortName()
{
    static std::atomic<unsigned> counter{0};
    const auto mixed = static_cast<unsigned long>(::getpid()) * 2654435761UL
                       ^ static_cast<unsigned long>(std::time(nullptr)) ^ (counter++ * 40503UL);
    char name[32];
    std::snprintf(name, sizeof name, ".scrimble-%08lx", mixed & 0xFFFFFFFFUL);
    return name;
}

}  // namespace

SafeFile::SafeFile(std::string target, ExistingFile existing) : m_target(std::move(target)), m_existing(existing) {}

SafeFile::~SafeFile()
{
    if (m_file)
        std::fclose(m_file);
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

SafeFileError SafeFile::open()
{
    if (m_target.empty() || m_target.back() == '/')
        return SafeFileError::CannotCreate;
    if (const SafeFileError error = resolveTarget(); error != SafeFileError::None)
        return error;
    m_folder = folderOf(m_target);
    struct stat old {};
    if (::stat(m_target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode) || ::access(m_target.c_str(), W_OK) != 0)
            return SafeFileError::CannotCreate;
        m_old = old;
    }
    if (const SafeFileError error = openBeside(); error != SafeFileError::None)
        return error;
    // Encoders hand over a few kilobytes at a time: fewer, larger writes.
    std::setvbuf(m_file, nullptr, _IOFBF, std::size_t{1} << 16);
    return SafeFileError::None;
}

// Follows the symbolic links of the target's last component, also one whose target
// does not exist yet (the file is then created there). A name that must be kept is
// taken by any entry, a dangling link included: no new file is made through a link.
SafeFileError SafeFile::resolveTarget()
{
    for (int hop = 0; hop < MaxLinks; ++hop) {
        struct stat entry {};
        if (::lstat(m_target.c_str(), &entry) != 0)
            return errno == ENOENT ? SafeFileError::None : SafeFileError::CannotCreate;
        if (m_existing == ExistingFile::Keep)
            return SafeFileError::Exists;
        if (plantedByAnotherUser(entry, folderOf(m_target)))
            return SafeFileError::NotYours;
        if (!S_ISLNK(entry.st_mode))
            return SafeFileError::None;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(m_target.c_str(), buffer, sizeof buffer);
        if (length <= 0 || static_cast<std::size_t>(length) == sizeof buffer)
            return SafeFileError::CannotCreate;
        const std::string target(buffer, static_cast<std::size_t>(length));
        m_target = target.front() == '/' ? target : folderOf(m_target) + target;
    }
    return SafeFileError::CannotCreate;
}

SafeFileError SafeFile::openBeside()
{
    const std::string folder = m_folder.empty() ? std::string(".") : m_folder;
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    m_kind = Kind::Unnamed;
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // A file system without unnamed files: a short-named one, removed on failure.
        for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
            m_temporary = m_folder + shortName();
            fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        m_kind = Kind::Named;
        if (fd < 0)
            m_temporary.clear();
    }
    if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS) && m_old) {
        fd = ::open(m_target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
        m_kind = Kind::InPlace;
    }
    if (fd < 0)
        return SafeFileError::CannotCreate;
    m_file = ::fdopen(fd, "wb");
    if (!m_file) {
        ::close(fd);
        return SafeFileError::CannotCreate;
    }
    return SafeFileError::None;
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
    bool ok = std::ferror(m_file) == 0 && std::fflush(m_file) == 0;
    const int fd = ::fileno(m_file);
    if (ok && m_kind == Kind::InPlace)
        ok = ::ftruncate(fd, ::ftello(m_file)) == 0;
    if (ok && m_kind != Kind::InPlace) {
        keepOwnerAndMode(fd);
        ok = m_kind == Kind::Named || giveName(fd);
    }
    ok = std::fclose(m_file) == 0 && ok;
    m_file = nullptr;
    if (!ok)
        return SafeFileError::WriteFailed;
    if (m_kind != Kind::InPlace) {
        const SafeFileError placed = m_existing == ExistingFile::Keep ? placeWithoutReplacing() : placeOver();
        if (placed != SafeFileError::None)
            return placed;
    }
    m_committed = true;
    return SafeFileError::None;
}

SafeFileError SafeFile::placeOver() const
{
    return ::rename(m_temporary.c_str(), m_target.c_str()) == 0 ? SafeFileError::None : SafeFileError::WriteFailed;
}

// The kernel refuses the name when it is taken, however late the other file came; a
// file system without the no-replace rename does the same with link().
SafeFileError SafeFile::placeWithoutReplacing() const
{
    int result = ::renameat2(AT_FDCWD, m_temporary.c_str(), AT_FDCWD, m_target.c_str(), RENAME_NOREPLACE);
    if (result != 0 && errno == EINVAL) {
        result = ::link(m_temporary.c_str(), m_target.c_str());
        if (result == 0)
            ::unlink(m_temporary.c_str());
    }
    if (result == 0)
        return SafeFileError::None;
    return errno == EEXIST ? SafeFileError::Exists : SafeFileError::WriteFailed;
}

// The unnamed file gets a short name beside the target for the moment of the rename.
bool SafeFile::giveName(int fd)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 16; ++attempt) {
        m_temporary = m_folder + shortName();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, m_temporary.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    m_temporary.clear();
    return false;
}

// The new file takes the place of the old one with its permission bits and, where
// the process may set them, its owner and group; a new file has 0666 less the umask.
void SafeFile::keepOwnerAndMode(int fd) const
{
    if (m_old) {
        static_cast<void>(::fchown(fd, m_old->st_uid, m_old->st_gid));
        ::fchmod(fd, m_old->st_mode & 07777);
    }
}
