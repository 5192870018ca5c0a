#include "WaylandSession.h"

#include <wayland-client.h>

#include <cstdint>
#include <cstring>

namespace {

void announced(void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t)
{
    auto& offer = *static_cast<WaylandOffer*>(data);
    if (std::strcmp(interface, "zwlr_data_control_manager_v1") == 0
        || std::strcmp(interface, "ext_data_control_manager_v1") == 0)
        offer.clipboardControl = true;
    if (std::strcmp(interface, "gtk_shell1") == 0)
        offer.clipboardSharedWithXWayland = offer.transientsAboveFullScreen = true;
    if (std::strcmp(interface, "org_kde_plasma_shell") == 0)
        offer.transientsAboveFullScreen = true;
}

void removed(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener Listener = {announced, removed};

}  // namespace

WaylandOffer waylandOffer()
{
    WaylandOffer offer;
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return offer;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &Listener, &offer);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offer;
}
