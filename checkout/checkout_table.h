// The table of finishing routes, read from arrange.txt or the built-in text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tx9 {

// Characters of a dart text kept from a route line; the rest of the field is ignored.
inline constexpr size_t kMaxDartText = 10;

struct Route {
    int score = 0;
    std::string dart[3]; // up to 10 characters each; empty when absent
};

class CheckoutTable {
  public:
    // Replace the table with the routes of the text (which ends at its end or a NUL).
    // A score of more digits than an int holds saturates at INT_MAX, so it can
    // never match a remaining score.
    void parse(std::string_view text);
    // Read the whole file and parse it; false (table unchanged, error text set
    // when asked for) when it cannot be read. An empty file gives an empty table.
    bool load_from_file(const std::string& path, std::string* error = nullptr);
    void clear() { routes_.clear(); }

    const std::vector<Route>& routes() const { return routes_; }
    size_t size() const { return routes_.size(); }
    bool empty() const { return routes_.empty(); }
    // Entries with this score, in table order.
    std::vector<const Route*> routes_for(int score) const;
    // First entry with this score, or nullptr.
    const Route* first_route(int score) const;

  private:
    std::vector<Route> routes_;
};

// Points a dart text scores: digits from the first digit on, doubled for a
// leading 'D', trebled for 'T'; empty or digitless text scores 0. Saturates at
// INT_MAX instead of overflowing.
int dart_value(std::string_view dart);

// The process-wide table.
CheckoutTable& checkout_table();

} // namespace tx9
