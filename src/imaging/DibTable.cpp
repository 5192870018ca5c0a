#include "DibTable.h"

#include <new>

DibTable& DibTable::instance()
{
    static DibTable table;
    return table;
}

DIBHandle DibTable::add(std::unique_ptr<Dib> dib)
{
    const std::lock_guard guard(m_mutex);
    try {
        while (m_next == 0 || m_dibs.contains(m_next))
            ++m_next;
        const DIBHandle handle = m_next++;
        m_dibs.emplace(handle, std::shared_ptr<Dib>(std::move(dib)));
        return handle;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

std::optional<DibLease> DibTable::lease(DIBHandle handle)
{
    std::shared_ptr<Dib> dib;
    {
        const std::lock_guard guard(m_mutex);
        const auto it = m_dibs.find(handle);
        if (it == m_dibs.end())
            return std::nullopt;
        dib = it->second;
    }
    std::unique_lock lock(dib->mutex());
    return DibLease{std::move(dib), std::move(lock)};
}

bool DibTable::remove(DIBHandle handle)
{
    std::shared_ptr<Dib> dib;
    const std::lock_guard guard(m_mutex);
    const auto it = m_dibs.find(handle);
    if (it == m_dibs.end())
        return false;
    dib = std::move(it->second);  // freed after the table is unlocked
    m_dibs.erase(it);
    return true;
}

DIBHandle storeDib(int width, int height, int bitCount, Bytes bits, std::vector<RgbQuad> palette)
{
    try {
        auto dib = std::make_unique<Dib>(width, height, bitCount, std::move(bits), std::move(palette));
        return DibTable::instance().add(std::move(dib));
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

DibStatus DeleteDIB(DIBHandle dib)
{
    if (!DibTable::instance().remove(dib))
        return {DibError::BadHandle};
    return {};
}
