// The table of finishing routes, read from arrange.txt or the built-in text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tx9 {

struct Route {
    int score = 0;
    std::string dart[3]; // up to 10 characters each; empty when absent
};

class CheckoutTable {
public:
    // Replace the table with the routes of the text (which ends at its end or a NUL).
    void parse(std::string_view text);
    // Read the whole file and parse it; false (table unchanged) when it cannot be read.
    bool load_from_file(const std::string& path);
    void clear() { routes_.clear(); }

    const std::vector<Route>& routes() const { return routes_; }
    size_t size() const { return routes_.size(); }
    // Entries with this score, in table order.
    std::vector<const Route*> routes_for(int score) const;
    // First entry with this score, or nullptr.
    const Route* first_route(int score) const;

private:
    std::vector<Route> routes_;
};

// Points a dart text scores: digits from the first digit on, doubled for a
// leading 'D', trebled for 'T'; empty or digitless text scores 0.
int dart_value(std::string_view dart);

// The process-wide table.
CheckoutTable& checkout_table();

} // namespace tx9
