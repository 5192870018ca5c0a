#include "SeenPointerEvents.h"

#include <algorithm>
#include <iterator>

namespace {

bool sameEvent(const PointerEventKey& seen, const PointerEventKey& delivered)
{
    return seen.kind == delivered.kind && seen.timestamp == delivered.timestamp && seen.window == delivered.window
           && (seen.kind != PointerEvent::Move || seen.buttonHeld == delivered.buttonHeld);
}

}  // namespace

void SeenPointerEvents::remember(const SeenPointerEvent& event)
{
    if (m_pending.size() == Capacity)
        m_pending.pop_front();
    m_pending.push_back(event);
}

std::optional<QPoint> SeenPointerEvents::take(const PointerEventKey& key)
{
    if (key.kind == PointerEvent::DoubleClick) {
        PointerEventKey press = key;
        press.kind = PointerEvent::Press;
        if (m_lastPress && sameEvent(m_lastPress->key, press))
            return m_lastPress->position;
        return std::nullopt;
    }
    const auto found = std::find_if(m_pending.begin(), m_pending.end(),
                                    [&](const SeenPointerEvent& seen) { return sameEvent(seen.key, key); });
    if (found == m_pending.end())
        return std::nullopt;
    const SeenPointerEvent event = *found;
    m_pending.erase(m_pending.begin(), std::next(found));
    if (key.kind == PointerEvent::Press)
        m_lastPress = event;
    return event.position;
}
