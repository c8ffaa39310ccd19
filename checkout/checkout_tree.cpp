#include "checkout/checkout_tree.h"

#include <algorithm>

namespace tx9 {

namespace {

int first_dart_value(const CheckoutTable& table, const RouteNode& node) {
    return dart_value(table.routes()[node.route].dart[0]);
}

void fill(const CheckoutTable& table, int score, int excluded, std::vector<RouteNode>& siblings) {
    if (score == 0) return;
    const std::vector<Route>& routes = table.routes();
    for (size_t i = 0; i < routes.size(); ++i) {
        const Route& route = routes[i];
        if (route.score != score) continue;
        const int value = dart_value(route.dart[0]);
        if (value == excluded) continue;
        const bool shown = std::any_of(siblings.begin(), siblings.end(), [&](const RouteNode& sibling) {
            return first_dart_value(table, sibling) == value;
        });
        if (shown) continue;
        RouteNode node;
        node.route = i;
        // A first dart scores at least 1 here, so every level asks for less and the tree ends.
        if (value > 0) fill(table, score - value, dart_value(route.dart[1]), node.children);
        siblings.push_back(std::move(node));
    }
}

} // namespace

std::vector<RouteNode> checkout_tree(const CheckoutTable& table, int score) {
    std::vector<RouteNode> top;
    fill(table, score, 0, top);
    return top;
}

std::string route_item_text(const Route& route) {
    std::string text;
    for (const std::string& dart : route.dart) {
        if (dart.empty()) continue;
        if (!text.empty()) text += " - ";
        text += dart;
        if (dart.size() < 3) text.append(3 - dart.size(), ' ');
    }
    return text;
}

} // namespace tx9
