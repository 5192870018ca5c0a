#include "DibTable.h"
#include "ImageReaders.h"

#include <fstream>
#include <iterator>

namespace {

DibError readFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return DibError::DecodeFailed;
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc&) {
        return DibError::OutOfMemory;
    }
    return in.bad() ? DibError::DecodeFailed : DibError::None;
}

DibStatus readDib(const std::string& path, DIBHandle& handle)
{
    handle = 0;
    char magic[2] = {};
    {
        std::ifstream in(path, std::ios::binary);
        if (!in || !in.read(magic, 2))
            return {DibError::DecodeFailed};
    }
    std::unique_ptr<Dib> dib;
    if (magic[0] == 'B' && magic[1] == 'M') {
        std::vector<std::uint8_t> bytes;
        if (const DibError error = readFile(path, bytes); error != DibError::None)
            return {error};
        if (const DibError error = readBmp(bytes, dib); error != DibError::None)
            return {error};
    } else if (const DibError error = readPng(path, dib); error != DibError::None) {
        return {error};
    }
    handle = DibTable::instance().add(std::move(dib));
    return handle ? DibStatus{} : DibStatus{DibError::OutOfMemory};
}

}  // namespace

DibStatus DIBFromFile(const std::string& path, DIBHandle& handle)
{
    return withoutThrowing([&] { return readDib(path, handle); });
}
