// Small text helpers shared by the core and the windows.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace tx9 {

inline constexpr const char* kProgramTitle = "tx9 Ver 0.0.6";
inline constexpr const char* kProgramName = "tx9";

// printf into a std::string, whole (no fixed buffer cuts the result).
std::string strprintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
std::string vstrprintf(const char* format, va_list args);

// Menu text without its mnemonic marks: single "&" dropped ("&&" gives "&"),
// "(...)" parts dropped (to the end when unclosed) and every "." dropped.
// "&Option..." becomes "Option"; the Japanese "(&N)" marks vanish.
std::string clean_menu_text(std::string_view text);

// Strip leading and trailing blanks (space and tab).
std::string trim_blanks(std::string_view text);
// The same, as a view into the given text.
std::string_view trim_blanks_view(std::string_view text);

// Case-insensitive compare of ASCII letters, for the program's own ASCII names
// (INI keys, the command line); names people type go through
// SystemServices::compare_text_no_case. Returns <0, 0, >0.
int compare_no_case(std::string_view a, std::string_view b);

// Cut a text to at most 255 characters, the size of the program's text fields.
std::string cut255(std::string_view text);

// Folder part of a path: everything before the last '\' or '/', stepping over
// double-byte characters so a trail byte is never taken for a separator.
// Empty when there is no separator.
std::string folder_of(std::string_view path);

// Whether the path's last character is a '\' or '/' of its own, not the trail
// byte of a double-byte character.
bool ends_with_separator(std::string_view path);

// The path without its trailing separators (a lone separator stays), with the
// same care for double-byte characters.
std::string without_trailing_separators(std::string_view path);

// Join a folder and a file name with one backslash, unless the folder already
// ends in a separator.
std::string join_path(std::string_view folder, std::string_view name);

// Standard decimal conversion as strtol/atoi: leading white space, one sign,
// digits to the first non-digit; no digits give 0. Saturates instead of overflowing.
int parse_int(std::string_view text);

// A resource text with its first "%d" filled in ("%%" gives "%"). Done by hand
// rather than through printf, so a translated string with other marks cannot
// upset the call.
std::string fill_number(std::string_view format, int value);

} // namespace tx9
