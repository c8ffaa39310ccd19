#include "core/text.h"

#include "core/system.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <vector>

namespace tx9 {

std::string vstrprintf(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) return std::string();
    std::string out(static_cast<size_t>(needed) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(needed));
    return out;
}

std::string strprintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string out = vstrprintf(format, args);
    va_end(args);
    return out;
}

std::string clean_menu_text(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        if (c == '(') {
            size_t close = text.find(')', i + 1);
            if (close == std::string_view::npos) break;
            i = close;
            continue;
        }
        if (c == '.') continue;
        out += c;
    }
    return out;
}

std::string_view trim_blanks_view(std::string_view text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

std::string trim_blanks(std::string_view text)
{
    return std::string(trim_blanks_view(text));
}

int compare_no_case(std::string_view a, std::string_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int x = std::tolower(static_cast<unsigned char>(a[i]));
        int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string cut255(std::string_view text) { return std::string(text.substr(0, 255)); }

std::string folder_of(std::string_view path)
{
    const SystemServices& sys = system_services();
    size_t last = std::string_view::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (sys.is_lead_byte(c) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/') last = i;
    }
    if (last == std::string_view::npos) return std::string();
    return std::string(path.substr(0, last));
}

namespace {

// Length of the path up to the end of its last character that is not a
// separator; a double-byte character counts as one, whatever its trail byte.
size_t end_of_last_non_separator(std::string_view path)
{
    const SystemServices& sys = system_services();
    size_t end = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (sys.is_lead_byte(c) && i + 1 < path.size()) {
            ++i;
            end = i + 1;
        } else if (c != '\\' && c != '/')
            end = i + 1;
    }
    return end;
}

} // namespace

bool ends_with_separator(std::string_view path)
{
    return !path.empty() && end_of_last_non_separator(path) < path.size();
}

std::string without_trailing_separators(std::string_view path)
{
    size_t end = end_of_last_non_separator(path);
    if (end == 0 && !path.empty()) end = 1;
    return std::string(path.substr(0, end));
}

std::string join_path(std::string_view folder, std::string_view name)
{
    std::string out(folder);
    if (!ends_with_separator(out)) out += '\\';
    out += name;
    return out;
}

int parse_int(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<int>(value);
}

std::string fill_number(std::string_view format, int value)
{
    std::string out;
    bool filled = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (format[i + 1] == 'd' && !filled) {
                out += std::to_string(value);
                filled = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

} // namespace tx9
