#include "platform/windowsystem.h"

#include <QGuiApplication>
#include <cstring>
#include <wayland-client.h>

namespace {

// A short connection of its own to the compositor, to read the globals it offers: Qt keeps
// its list to itself.
bool compositorOffers(const char* interfaceName)
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    struct Found
    {
        const char* name;
        bool found = false;
    } found{interfaceName};
    static const wl_registry_listener listener{
        [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
            auto* f = static_cast<Found*>(data);
            f->found = f->found || std::strcmp(interface, f->name) == 0;
        },
        [](void*, wl_registry*, uint32_t) {}};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &found);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return found.found;
}

} // namespace

namespace WindowSystem {

bool compositorDecides()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool canUnminimise()
{
    static const bool can = !compositorDecides() || compositorOffers("xdg_activation_v1");
    return can;
}

} // namespace WindowSystem
