#include "DibTable.h"
#include "ImageReaders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool isBmp(std::span<const std::uint8_t> bytes) { return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

// Start of image, then a marker.
bool isJpeg(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

// An image file opened for reading, closed however the read ends. Opened without
// blocking, so that a FIFO cannot hang the read; only a regular file is read.
class ImageFile
{
public:
    explicit ImageFile(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
    {
        struct stat info {};
        if (m_fd >= 0 && ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode))
            m_size = static_cast<std::uint64_t>(info.st_size);
    }
    ~ImageFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    [[nodiscard]] bool readable() const { return m_size > 0; }
    [[nodiscard]] std::uint64_t size() const { return m_size; }

    // The file's bytes from the start up to count (fewer when it is shorter).
    DibError read(std::size_t count, Bytes& bytes)
    {
        const std::size_t had = bytes.size();
        if (const DibError error = allocateBytes(bytes, count); error != DibError::None)
            return error;
        std::size_t filled = had;
        while (filled < count) {
            const ssize_t got = ::read(m_fd, bytes.data() + filled, count - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return DibError::DecodeFailed;
            if (got == 0)
                break;
            filled += static_cast<std::size_t>(got);
        }
        bytes.resize(filled);
        return DibError::None;
    }

private:
    int m_fd;
    std::uint64_t m_size = 0;
};

// Reads no more of the file than its image needs: a BMP as far as its header
// declares, a PNG or JPEG whole up to MaxEncodedBytes.
DibError readImage(const std::string& path, std::unique_ptr<Dib>& dib)
{
    ImageFile file(path);
    if (!file.readable())
        return DibError::DecodeFailed;
    Bytes bytes;
    if (const DibError error = file.read(BmpHeaderBytes, bytes); error != DibError::None)
        return error;
    if (isBmp(bytes)) {
        std::size_t needed = 0;
        if (const DibError error = bmpFileBytes(bytes, file.size(), needed); error != DibError::None)
            return error;
        if (const DibError error = file.read(needed, bytes); error != DibError::None)
            return error;
        return readBmp(bytes, dib);
    }
    if (file.size() > MaxEncodedBytes)
        return DibError::TooLarge;
    if (const DibError error = file.read(static_cast<std::size_t>(file.size()), bytes); error != DibError::None)
        return error;
    return readImageBytes(bytes, dib);
}

DibStatus added(std::unique_ptr<Dib> dib, DIBHandle& handle)
{
    handle = DibTable::instance().add(std::move(dib));
    return handle ? DibStatus{} : DibStatus{DibError::OutOfMemory};
}

}  // namespace

DibError readImageBytes(std::span<const std::uint8_t> bytes, std::unique_ptr<Dib>& dib)
{
    if (isBmp(bytes))
        return readBmp(bytes, dib);
    if (isJpeg(bytes))
        return readJpeg(bytes, dib);
    return readPng(bytes, dib);
}

DibStatus DIBFromFile(const std::string& path, DIBHandle& handle)
{
    return withoutThrowing([&] {
        handle = 0;
        std::unique_ptr<Dib> dib;
        if (const DibError error = readImage(path, dib); error != DibError::None)
            return DibStatus{error};
        return added(std::move(dib), handle);
    });
}

DibStatus DIBFromMemory(std::span<const std::uint8_t> bytes, DIBHandle& handle)
{
    return withoutThrowing([&] {
        handle = 0;
        std::unique_ptr<Dib> dib;
        if (const DibError error = readImageBytes(bytes, dib); error != DibError::None)
            return DibStatus{error};
        return added(std::move(dib), handle);
    });
}
