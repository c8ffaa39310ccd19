#include "records/player_panel.h"

#include "core/system.h"
#include "core/text.h"
#include "engine/statistics.h"
#include "res/resource.h"

#include <algorithm>

namespace tx9 {

std::string panel_player_name(const PlayerBlock& block) {
    if (block.com == 1)
        return strprintf(system_services().load_string(IDS_COM_NAME).c_str(), block.com_level + 1);
    return block.name;
}

int combined_short(int current, int carried) {
    if (current == 0 && carried > 0) return carried;
    if (carried == 0 && current > 0) return current;
    return std::min(current, carried);
}

std::string combined_average_text(float current, float carried) {
    return strprintf("%.2f", static_cast<double>(combine_average(carried, current)));
}

std::string route_text(const Route& route) {
    std::string out;
    for (const std::string& dart : route.dart) {
        if (dart.empty()) continue;
        if (!out.empty()) out += "-";
        out += dart;
    }
    return out;
}

std::vector<PanelLine> player_panel_lines(const PlayerBlock& b, const PlayerPanelFlags& f,
                                          const PlayerPanelView& view, const CheckoutTable& table) {
    std::vector<PanelLine> lines;
    const bool all = view.full_view;
    auto add = [&lines](PanelLineKind kind, int id, std::string text, PanelColumnSet columns) {
        PanelLine line;
        line.kind = kind;
        line.text_id = id;
        line.text = std::move(text);
        line.columns = columns;
        lines.push_back(std::move(line));
    };
    using K = PanelLineKind;
    using C = PanelColumnSet;

    if (f.name || all) add(K::name, 0, panel_player_name(b), C::totals);
    // The line stays in both panels so that their rows keep level.
    if (f.first || all) add(K::first, view.is_first ? IDS_PANEL_FIRST : 0, std::string(), C::totals);

    const bool totals = f.total_sets || f.total_legs || f.total_tons || f.total_180s || f.total_high_off ||
                        f.total_short || all;
    if (totals) add(K::heading, IDS_PANEL_TOTALS, std::string(), C::totals);
    struct Figure {
        bool shown;
        int id;
        int value;
    };
    const Figure figures[] = {
        {(f.total_sets || all) && view.show_sets, IDS_PANEL_SETS, b.sets},
        {f.total_legs || all, IDS_PANEL_LEGS, b.legs},
        {f.total_tons || all, IDS_PANEL_TONS, b.tons + b.carried_tons},
        {f.total_180s || all, IDS_PANEL_180S, b.one80s + b.carried_180s},
        {f.total_high_off || all, IDS_PANEL_HIGH_OFF, std::max(b.high_off, b.carried_high_off)},
        {f.total_short || all, IDS_PANEL_SHORT, combined_short(b.short_, b.carried_short)},
    };
    for (const Figure& figure : figures)
        if (figure.shown) add(K::figure, figure.id, std::to_string(figure.value), C::totals);

    const bool averages = f.avg_score || f.avg_darts || all;
    if (averages) {
        add(K::heading, IDS_PANEL_AVERAGES, std::string(), C::averages);
        lines.back().half_gap = totals;
    }
    if (f.avg_score || all)
        add(K::figure, IDS_PANEL_SCORE, combined_average_text(b.avg_score, b.carried_avg_score), C::averages);
    if (f.avg_darts || all)
        add(K::figure, IDS_PANEL_DARTS, combined_average_text(b.avg_darts, b.carried_avg_darts), C::averages);

    if (f.arrange && !all) {
        add(K::heading, IDS_PANEL_CHECKOUT, std::string(), C::totals);
        lines.back().half_gap = totals || averages;
        for (const Route* route : table.routes_for(b.left))
            add(K::route, 0, route_text(*route), C::totals);
    }
    return lines;
}

PanelColumnPlace panel_columns(int width, int char_width, int label_width, int value_width) {
    PanelColumnPlace p;
    // Integer division truncates toward zero, then a negative start becomes the left edge.
    p.label_x = std::max(0, (width - char_width - value_width - label_width) / 2);
    p.heading_x = std::max(0, p.label_x - (char_width * 15) / 10);
    p.value_left = p.label_x + label_width;
    p.value_right = p.value_left + char_width + value_width;
    return p;
}

} // namespace tx9
