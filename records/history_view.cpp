#include "records/history_view.h"

#include "core/text.h"
#include "records/csv_export.h"
#include "res/resource.h"

namespace tx9 {

namespace {

std::string text_of(int id, int value) {
    return fill_number(system_services().load_string(id), value);
}

void add_set(std::vector<HistoryEntry>& rows, GameRecord& record) {
    rows.push_back({HistoryRowKind::set, &record, 0});
    for (int leg = 1; leg <= record.leg_no; ++leg)
        rows.push_back({HistoryRowKind::leg, &record, leg});
}

// The leg of a one-based number, or nullptr when the record has no such leg.
const LegRecord* leg_of(const GameRecord& record, int leg_number) {
    if (leg_number < 1 || static_cast<size_t>(leg_number) > record.leg_records.size()) return nullptr;
    return &record.leg(leg_number - 1);
}

} // namespace

std::vector<HistoryEntry> history_entries(History& history) {
    std::vector<HistoryEntry> rows;
    for (GameRecord& record : history.records)
        add_set(rows, record);
    if (history.live && history.live->archived == 0 && history.live->leg_no >= 1)
        add_set(rows, *history.live);
    return rows;
}

std::string history_row_text(const HistoryEntry& entry) {
    if (entry.kind == HistoryRowKind::leg) return text_of(IDS_LEGS, entry.leg_number);
    return entry.record ? std::to_string(entry.record->start_score) : std::string();
}

SetRowView set_row_view(const GameRecord& record) {
    SetRowView view;
    view.start_score = std::to_string(record.start_score);
    if (record.leg_limit == 1) view.sets = text_of(IDS_SETS, record.set_no + 1);
    for (int p = 0; p < 2; ++p) {
        view.names[p] = player_display_name(record.player[p]);
        view.underlined[p] = record.player[p].legs > record.player[1 - p].legs;
    }
    return view;
}

LegRowView leg_row_view(const GameRecord& record, int leg_number) {
    LegRowView view;
    view.legs = text_of(IDS_LEGS, leg_number);
    if (const LegRecord* leg = leg_of(record, leg_number)) {
        for (int p = 0; p < 2; ++p) {
            view.won[p] = leg->winner == p && leg->win_darts > 0;
            if (view.won[p]) view.darts[p] = std::to_string(leg->win_darts);
        }
    }
    return view;
}

HistoryButtons history_buttons(bool has_selection, const History& history) {
    return {has_selection, has_selection, !history.records.empty()};
}

std::vector<std::string> score_list_items(const GameRecord& record) {
    std::vector<std::string> items{system_services().load_string(IDS_PLAYER_INFORMATION)};
    for (int leg = 1; leg <= record.leg_no; ++leg)
        items.push_back(text_of(IDS_LEGS, leg));
    return items;
}

ScoreListPage score_list_page(const GameRecord& record, int item) {
    ScoreListPage page;
    const LegRecord* leg = item >= 1 && item <= record.leg_no ? leg_of(record, item) : nullptr;
    if (!leg) return page;
    page.panels = false;
    page.leg_index = item - 1;
    page.darts_label = leg->winner == 1 ? 1 : 0;
    if (leg->win_darts > 0) page.darts = text_of(IDS_DARTS, leg->win_darts);
    return page;
}

HistoryLayout history_layout(int w, int h) {
    HistoryLayout out;
    out.list = {0, 0, w, h - 72};
    out.view = {w - 294, h - 62, 88, 21};
    out.save_as = {w - 196, h - 62, 88, 21};
    out.clear = {w - 98, h - 62, 88, 21};
    out.close = {w - 98, h - 31, 88, 21};
    return out;
}

ScoreListLayout score_list_layout(int w, int h) {
    ScoreListLayout out;
    out.sheet = {0, 40, w, h - 110};
    out.panels[0] = {0, 40, w / 2 - 2, h - 110};
    out.panels[1] = {w / 2 + 2, 40, w - w / 2 - 2, h - 110};
    out.labels[0] = {0, h - 70, 150, 30};
    out.labels[1] = {w - 150, h - 70, 150, 30};
    out.close = {w - 98, h - 31, 88, 21};
    return out;
}

HistoryRowGeometry history_row_geometry(const ScreenRect& item, int box_width) {
    HistoryRowGeometry out;
    const int w = item.right;
    const int c = w / 6;
    out.columns[0] = {item.left + 4, item.top, c, item.bottom};
    out.columns[1] = {c, item.top, 2 * c, item.bottom};
    out.columns[2] = {2 * c, item.top, 4 * c, item.bottom};
    out.columns[3] = {4 * c, item.top, w, item.bottom};
    for (int p = 0; p < 2; ++p) {
        const ScreenRect& column = out.columns[2 + p];
        const int left = column.left + (column.width() - box_width) / 2;
        out.boxes[p] = {left, item.top + 1, left + box_width, item.bottom - 1};
    }
    out.line_y = item.top + (item.bottom - item.top) / 2;
    return out;
}

} // namespace tx9
