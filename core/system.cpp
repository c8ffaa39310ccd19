#include "core/system.h"

#include <cassert>

namespace tx9 {

namespace {
SystemServices* g_services = nullptr;
}

SystemServices& system_services()
{
    assert(g_services && "system services are set at start-up");
    return *g_services;
}

void set_system_services(SystemServices* services) { g_services = services; }

} // namespace tx9
