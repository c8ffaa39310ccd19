#include "app/win/accelerators.h"

#include <new>

namespace tx9 {

namespace {
AcceleratorTable g_user_table;
} // namespace

std::string WinKeyNamer::key_name(int virtual_key) const {
    if (virtual_key <= 0 || virtual_key > 0xFF) return std::string();
    UINT scan = MapVirtualKeyA(static_cast<UINT>(virtual_key), MAPVK_VK_TO_VSC);
    if (scan == 0) return std::string();
    // GetKeyNameText reads the key as a WM_KEYDOWN lParam: scan code in bits
    // 16-23, the extended-key flag in bit 24.
    LONG lparam = static_cast<LONG>((scan & 0xFF) << 16);
    if (is_extended_key(virtual_key)) lparam |= 1L << 24;
    char name[256] = "";
    if (GetKeyNameTextA(lparam, name, sizeof name) <= 0) return std::string();
    return name;
}

const KeyNamer& win_key_namer() {
    static const WinKeyNamer namer;
    return namer;
}

std::string key_text(int modifiers, int key) {
    return key_binding_name(win_key_namer(), modifiers, key);
}

void AcceleratorTable::reset(HACCEL table) {
    if (table_) DestroyAcceleratorTable(table_);
    table_ = table;
}

AcceleratorTable make_accelerator_table(const std::vector<KeyBinding>& bindings) {
    std::vector<AccelEntry> entries = accelerator_entries(bindings);
    if (entries.empty()) return AcceleratorTable();
    std::vector<ACCEL> accels;
    accels.reserve(entries.size());
    for (const AccelEntry& entry : entries) {
        ACCEL a{};
        a.fVirt = entry.flags;
        a.key = entry.key;
        a.cmd = entry.command;
        accels.push_back(a);
    }
    return AcceleratorTable(CreateAcceleratorTableA(accels.data(), static_cast<int>(accels.size())));
}

void build_user_accelerators(const std::vector<KeyBinding>& bindings) {
    g_user_table.reset();
    try {
        g_user_table = make_accelerator_table(bindings);
    } catch (const std::bad_alloc&) {
        // No memory for the entries: only the built-in keys work.
    }
}

void destroy_user_accelerators() {
    g_user_table.reset();
}

HACCEL user_accelerators() {
    return g_user_table.get();
}

} // namespace tx9
