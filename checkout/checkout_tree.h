// The Check-Out dialog's tree of finishing routes for a score: the routes for
// the score, and under each the routes for what its first dart leaves.
#pragma once

#include "checkout/checkout_table.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tx9 {

struct RouteNode {
    size_t route = 0; // index in the table
    std::vector<RouteNode> children;
};

// The top level for the score. At every level only the first route (in table
// order) for each first-dart value stands; under a route stand the routes for
// the score left after its first dart, except those whose first dart scores
// what the route's own second dart scores (its own continuation). Empty for 0
// or a score without routes.
std::vector<RouteNode> checkout_tree(const CheckoutTable& table, int score);

// The darts of the route joined by " - ", each padded on the right to 3 characters.
std::string route_item_text(const Route& route);

} // namespace tx9
