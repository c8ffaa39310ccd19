// The user accelerator table built from the Key bindings, and the system's
// names of keys for menus, the Key page and the key guide bar.
#pragma once

#include "app/key_bindings.h"

#include <string>
#include <vector>

#include <windows.h>

namespace tx9 {

// Key names through the keyboard layout: the key's scan code and
// GetKeyNameTextA. Keys of the navigation block, the arrows, the
// Applications key and Num Lock are asked for with the extended bit, so Home
// is named as the Home key and not as the keypad's 7.
class WinKeyNamer : public KeyNamer {
  public:
    std::string key_name(int virtual_key) const override;
};

// The one namer the windows share.
const KeyNamer& win_key_namer();

// "Ctrl+" "Shift+" "Alt+" and the system's key name; empty when the key is 0
// or the system has no scan code for it.
std::string key_text(int modifiers, int key);

// Owns one accelerator table; moves, never copies.
class AcceleratorTable {
  public:
    AcceleratorTable() = default;
    explicit AcceleratorTable(HACCEL table) : table_(table) {}
    ~AcceleratorTable() { reset(); }
    AcceleratorTable(const AcceleratorTable&) = delete;
    AcceleratorTable& operator=(const AcceleratorTable&) = delete;
    AcceleratorTable(AcceleratorTable&& other) noexcept : table_(other.release()) {}
    AcceleratorTable& operator=(AcceleratorTable&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    void reset(HACCEL table = nullptr);
    HACCEL get() const { return table_; }
    HACCEL release() {
        HACCEL table = table_;
        table_ = nullptr;
        return table;
    }

  private:
    HACCEL table_ = nullptr;
};

// A table with one entry per binding whose key or modifiers are not 0, in
// binding order; empty (no table) when no binding qualifies.
AcceleratorTable make_accelerator_table(const std::vector<KeyBinding>& bindings);

// The process-wide user table the message loop consults before the built-in
// one. Building destroys the previous table first.
void build_user_accelerators(const std::vector<KeyBinding>& bindings);
void destroy_user_accelerators();
HACCEL user_accelerators();

} // namespace tx9
