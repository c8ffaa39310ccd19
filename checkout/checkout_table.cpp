#include "checkout/checkout_table.h"

#include "records/file_util.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace tx9 {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_line_end(char c) {
    return c == '\r' || c == '\n';
}
bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// Digits from pos on as a decimal number. The whole run is consumed, but the
// value stops at INT_MAX: a score of hundreds of digits is simply "too big".
int read_number(std::string_view text, size_t& pos) {
    long long value = 0;
    for (; pos < text.size() && is_digit(text[pos]); ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > INT_MAX) value = INT_MAX;
    }
    return static_cast<int>(value);
}

// Forward to the first of the stop characters (or the end), line ends always stopping.
size_t skip_to(std::string_view text, size_t pos, bool stop_at_comma) {
    while (pos < text.size() && !is_line_end(text[pos]) && !(stop_at_comma && text[pos] == ','))
        ++pos;
    return pos;
}

std::vector<Route> read_routes(std::string_view text) {
    std::vector<Route> routes;
    size_t pos = 0;
    for (;;) {
        while (pos < text.size() && (is_blank(text[pos]) || is_line_end(text[pos])))
            ++pos;
        if (pos >= text.size()) break;

        Route route;
        route.score = read_number(text, pos);
        pos = skip_to(text, pos, true);
        for (std::string& dart : route.dart) {
            if (pos >= text.size() || text[pos] != ',') break;
            ++pos;
            while (pos < text.size() && is_blank(text[pos]))
                ++pos;
            size_t begin = pos;
            while (pos < text.size() && !is_blank(text[pos]) && text[pos] != ',' && !is_line_end(text[pos]))
                ++pos;
            dart.assign(text.substr(begin, std::min(pos - begin, kMaxDartText)));
            pos = skip_to(text, pos, true);
        }
        // A fourth and any further field are ignored.
        pos = skip_to(text, pos, false);
        routes.push_back(std::move(route));
    }
    return routes;
}

} // namespace

void CheckoutTable::parse(std::string_view text) {
    size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);

    routes_ = read_routes(text);
}

bool CheckoutTable::load_from_file(const std::string& path, std::string* error) {
    std::string data;
    if (!read_whole_file(path, data, error)) return false;
    parse(data);
    return true;
}

std::vector<const Route*> CheckoutTable::routes_for(int score) const {
    std::vector<const Route*> found;
    for (const Route& route : routes_)
        if (route.score == score) found.push_back(&route);
    return found;
}

const Route* CheckoutTable::first_route(int score) const {
    for (const Route& route : routes_)
        if (route.score == score) return &route;
    return nullptr;
}

int dart_value(std::string_view dart) {
    if (dart.empty()) return 0;
    size_t pos = 0;
    while (pos < dart.size() && !is_digit(dart[pos]))
        ++pos;
    long long value = read_number(dart, pos);
    if (dart[0] == 'D')
        value *= 2;
    else if (dart[0] == 'T')
        value *= 3;
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

CheckoutTable& checkout_table() {
    static CheckoutTable table;
    return table;
}

} // namespace tx9
