#include "DibTable.h"
#include "PixelRows.h"

#include <new>

DibStatus DIBSnapshot(DIBHandle handle, DibSnapshot& out)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    const Dib& dib = *lease->dib;
    std::unique_ptr<Dib> decoded;
    const Dib* plain = nullptr;
    if (const DibError error = uncompressedView(dib, decoded, plain); error != DibError::None)
        return {error};
    try {
        out.width = dib.width();
        out.height = dib.height();
        out.bitCount = dib.bitCount();
        out.compression = dib.compression();
        out.palette.assign(dib.palette().begin(), dib.palette().end());
        out.bits.assign(dib.bits().begin(), dib.bits().end());
        out.rgb.resize(static_cast<std::size_t>(dib.width()) * static_cast<std::size_t>(dib.height()));
    } catch (const std::bad_alloc&) {
        return {DibError::OutOfMemory};
    }
    for (int y = 0; y < dib.height(); ++y) {
        std::uint32_t* row = out.rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(dib.width());
        readRowArgb(*plain, y, row);
        for (int x = 0; x < dib.width(); ++x)
            row[x] &= 0xFFFFFFu;
    }
    return {};
}

DibStatus DIBDimensions(DIBHandle handle, int& width, int& height, int& bitCount)
{
    auto lease = DibTable::instance().lease(handle);
    if (!lease)
        return {DibError::BadHandle};
    width = lease->dib->width();
    height = lease->dib->height();
    bitCount = lease->dib->bitCount();
    return {};
}
