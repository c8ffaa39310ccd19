// The route-table parser on arbitrary text: one route per line that has
// something on it before the end or a NUL, every dart a short run without
// separators, and a route written out again parses to itself.
#include "checkout/checkout_table.h"
#include "fuzz_check.h"

#include <cstdint>
#include <string>

namespace {

// Lines with a character other than blanks and line ends, up to the first NUL:
// counted here without the parser.
std::size_t route_lines(std::string_view text) {
    std::size_t lines = 0;
    bool at_start = true;
    for (char c : text) {
        if (c == '\0') break;
        if (c == '\n' || c == '\r') {
            at_start = true;
        } else if (at_start && c != ' ' && c != '\t') {
            ++lines;
            at_start = false;
        }
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tx9::CheckoutTable table;
    table.parse(text);
    FUZZ_CHECK(table.size() == route_lines(text), "%zu routes from %zu lines", table.size(),
               route_lines(text));

    for (const tx9::Route& route : table.routes()) {
        FUZZ_CHECK(route.score >= 0, "score %d", route.score);
        std::string line = std::to_string(route.score);
        for (const std::string& dart : route.dart) {
            FUZZ_CHECK(dart.size() <= tx9::kMaxDartText, "dart of %zu characters", dart.size());
            FUZZ_CHECK(dart.find_first_of(std::string(" \t,\r\n\0", 6)) == std::string::npos,
                       "separator in dart [%s]", dart.c_str());
            FUZZ_CHECK(tx9::dart_value(dart) >= 0, "dart [%s] scores below 0", dart.c_str());
            line += "," + dart;
        }
        tx9::CheckoutTable again;
        again.parse(line);
        FUZZ_CHECK(again.size() == 1, "[%s] gave %zu routes", line.c_str(), again.size());
        const tx9::Route& back = again.routes()[0];
        FUZZ_CHECK(back.score == route.score && back.dart[0] == route.dart[0] &&
                       back.dart[1] == route.dart[1] && back.dart[2] == route.dart[2],
                   "[%s] does not parse to itself", line.c_str());
        const tx9::Route* first = table.first_route(route.score);
        FUZZ_CHECK(first != nullptr && first <= &route, "first route of %d comes after a later one",
                   route.score);
    }
    return 0;
}
