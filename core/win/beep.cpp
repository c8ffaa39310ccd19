#include "core/win/beep.h"

#include <utility>

namespace tx9 {

namespace {

void system_beep(UINT type) {
    MessageBeep(type);
}

BeepFunction g_beep = system_beep;

} // namespace

void beep(UINT type) {
    g_beep(type);
}

BeepFunction set_beep_function(BeepFunction function) {
    return std::exchange(g_beep, function ? function : system_beep);
}

} // namespace tx9
