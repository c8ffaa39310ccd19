#include "ui/score/win/score_render.h"

#include "core/win/win_system.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings.h"

#include <algorithm>
#include <memory>
#include <new>

namespace tx9 {

namespace {

int text_height(HDC dc, HFONT font) {
    SelectScope select(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    return metrics.tmHeight;
}

void fill(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
    RECT area{left, top, right, bottom};
    FillRect(dc, &area, brush);
}

void line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void centred_text(HDC dc, const std::string& text, int left, int top, int right, int bottom) {
    RECT cell{left, top, right, bottom};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &cell,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Horizontal extent of a player's two cells.
struct PlayerColumns {
    int scored_left, scored_right, to_go_left, to_go_right;
};

PlayerColumns columns_of(int player, int u) {
    if (player == 0) return {0, 3 * u, 3 * u, 7 * u};
    return {10 * u, 13 * u, 13 * u, 17 * u};
}

int cell(const LegRecord& leg, int player, int round) {
    const std::vector<int>& scores = leg.scores[static_cast<size_t>(player)];
    return round >= 0 && static_cast<size_t>(round) < scores.size() ? scores[static_cast<size_t>(round)] : 0;
}

// Whether the player's visit of the round has been entered; in the current
// round only the first thrower's, and only while the other is to throw.
bool entered(const LegRecord& leg, int player, int round) {
    if (round < leg.cur_round) return true;
    return round == leg.cur_round && player == leg.first && leg.turn != leg.first;
}

// A player's ton circle in a Scored cell whose left edge is x and top edge
// y: inside the cell, off its borders (and off the wide border before player
// 2's cell).
RECT ton_ring_box(int player, int x, int y, int u, int rh) {
    return RECT{x + 1 + player, y + 2, x + 3 * u - 1, y + rh - 1};
}

// What the ring's pen covers: the pen, 2 pixels wide, is centred on the
// ellipse's outline and so reaches one pixel beyond the box on the left and
// at the top; still inside the cell, clear of its grid lines.
RECT ton_ring_ink(const RECT& box) {
    return RECT{box.left - 1, box.top - 1, box.right, box.bottom};
}

// The ellipse with the ton_circle pen, filled with the row's background, the
// way GDI draws it in place.
void draw_ton_ring(HDC dc, const SheetTools& tools, HBRUSH row_brush, const RECT& box) {
    SelectScope brush(dc, row_brush);
    SelectScope pen(dc, tools.ton_circle.get());
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
}

// The rings for this size, drawn now when there are none yet; nullptr when
// no bitmap can be had.
const TonRings* ton_rings_for(const SheetTools& tools, int u, int rh) {
    TonRings* rings = tools.ton_rings.get();
    if (rings && rings->unit == u && rings->row_height == rh) return rings;
    try {
        if (!rings) {
            tools.ton_rings = std::make_unique<TonRings>();
            rings = tools.ton_rings.get();
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    rings->unit = rings->row_height = 0;
    if (!rings->image.resize(nullptr, 2 * 3 * u, 2 * rh)) return nullptr;
    for (int odd = 0; odd < 2; ++odd) {
        HBRUSH row_brush = odd ? tools.odd_background.get() : tools.background.get();
        for (int p = 0; p < 2; ++p) {
            const RECT cell{p * 3 * u, odd * rh, (p + 1) * 3 * u, (odd + 1) * rh};
            FillRect(rings->image.dc(), &cell, row_brush);
            draw_ton_ring(rings->image.dc(), tools, row_brush, ton_ring_box(p, cell.left, cell.top, u, rh));
        }
    }
    rings->unit = u;
    rings->row_height = rh;
    return rings;
}

// Below a visit of 100 or more, in the Scored cell at (x, y). Only the row's
// own background lies under what the pen covers, so a copy of a ring drawn on the
// same background is the same pixels as drawing it here.
void ton_ring(HDC dc, const SheetTools& tools, int player, bool odd_row, int x, int y, int u, int rh) {
    const RECT box = ton_ring_box(player, x, y, u, rh);
    if (box.right <= box.left || box.bottom <= box.top) return;
    HBRUSH row_brush = odd_row ? tools.odd_background.get() : tools.background.get();
    const TonRings* rings = ton_rings_for(tools, u, rh);
    if (!rings) {
        draw_ton_ring(dc, tools, row_brush, box);
        return;
    }
    const RECT to = ton_ring_ink(box);
    const RECT from = ton_ring_ink(ton_ring_box(player, player * 3 * u, odd_row ? rh : 0, u, rh));
    BitBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, rings->image.dc(), from.left,
           from.top, SRCCOPY);
}

} // namespace

bool build_sheet_fonts(SheetTools& tools, HDC dc, int client_width, bool view_mode) {
    int u = sheet_unit(client_width);
    const std::string& face = settings().font_name;
    // The headings come from the string table in the user's code page; a font
    // of the ANSI character set cannot show the Japanese ones.
    Font header(create_face_font(face, u / 2, DEFAULT_CHARSET, FW_NORMAL, false, false));
    Font row(create_face_font(face, view_mode ? u / 2 : u, ANSI_CHARSET, FW_NORMAL, false, false));
    if (!header || !row) return false;
    tools.header_height = text_height(dc, header.get()) + 5;
    tools.row_height = text_height(dc, row.get()) + 5;
    tools.header_font = std::move(header);
    tools.row_font = std::move(row);
    return true;
}

bool build_sheet_colours(SheetTools& tools) {
    const auto& colors = settings().colors;
    tools.background.reset(CreateSolidBrush(colors[kColorBackground]));
    tools.odd_background.reset(CreateSolidBrush(colors[kColorOddBackground]));
    tools.header_background.reset(CreateSolidBrush(colors[kColorHeaderBackground]));
    tools.line.reset(CreatePen(PS_SOLID, 0, colors[kColorLine]));
    tools.separate_thin.reset(CreatePen(PS_SOLID, 1, colors[kColorSeparate]));
    tools.separate_thick.reset(CreatePen(PS_SOLID, 2, colors[kColorSeparate]));
    tools.text_pen.reset(CreatePen(PS_SOLID, 2, colors[kColorText]));
    tools.ton_circle.reset(CreatePen(PS_SOLID, 2, colors[kColorTonCircle]));
    tools.ton_rings.reset();
    tools.text = colors[kColorText];
    tools.header_text = colors[kColorHeaderText];
    tools.last3number_text = colors[kColorLast3NumberText];
    return tools.background && tools.odd_background && tools.header_background && tools.line &&
           tools.separate_thin && tools.separate_thick && tools.text_pen && tools.ton_circle;
}

void render_score_sheet(HDC dc, const SheetTools& tools, const SheetView& view) {
    const int w = view.width, h = view.height;
    const int u = sheet_unit(w);
    const int hh = tools.header_height, rh = std::max(tools.row_height, 1);
    const int t = std::max(view.top_row, 0);
    auto row_top = [&](int k) { return hh + (k - t) * rh; };

    fill(dc, 0, 0, w, h, tools.background.get());
    for (int k = t; row_top(k) < h; ++k)
        if (k % 2 == 1) fill(dc, 0, row_top(k), w, row_top(k) + rh, tools.odd_background.get());
    fill(dc, 0, 0, w, hh, tools.header_background.get());
    fill(dc, 7 * u, 0, 10 * u, h, tools.header_background.get());

    {
        SelectScope pen(dc, tools.line.get());
        line(dc, 3 * u, 0, 3 * u, h);
        line(dc, 13 * u, 0, 13 * u, h);
        for (int y = hh + rh; y < h; y += rh)
            line(dc, 0, y, w, y);
    }
    {
        SelectScope pen(dc, tools.separate_thin.get());
        for (int k = t; row_top(k) < h; ++k)
            if (k % 5 == 0) line(dc, 0, row_top(k + 1), w, row_top(k + 1));
    }
    {
        SelectScope pen(dc, tools.separate_thick.get());
        line(dc, 0, hh, w, hh);
        line(dc, 7 * u, 0, 7 * u, h);
        line(dc, 10 * u, 0, 10 * u, h);
    }

    if (!view.record || view.shown_leg < 0 ||
        view.shown_leg >= static_cast<int>(view.record->leg_records.size()))
        return;
    const GameRecord& record = *view.record;
    const LegRecord& leg = record.leg(view.shown_leg);

    SetBkMode(dc, TRANSPARENT);
    {
        SelectScope font(dc, tools.header_font.get());
        SetTextColor(dc, tools.header_text);
        std::string scored = load_resource_string(IDS_SCORED);
        std::string to_go = load_resource_string(IDS_TO_GO);
        for (int p = 0; p < 2; ++p) {
            PlayerColumns c = columns_of(p, u);
            centred_text(dc, scored, c.scored_left, 0, c.scored_right, hh);
            std::string heading = p == leg.first ? strprintf("* %s", to_go.c_str()) : to_go;
            centred_text(dc, heading, c.to_go_left, 0, c.to_go_right, hh);
        }
    }

    SelectScope font(dc, tools.row_font.get());
    if (t == 0) {
        SetTextColor(dc, tools.text);
        for (int p = 0; p < 2; ++p) {
            PlayerColumns c = columns_of(p, u);
            fill(dc, c.scored_left + p, hh + 1, c.scored_right, hh + rh, tools.header_background.get());
            centred_text(dc, strprintf("%d", record.player[static_cast<size_t>(p)].start_score), c.to_go_left,
                         hh, c.to_go_right, hh + rh);
        }
    }

    const int first_round = std::max(t - 1, 0);
    const bool limited = record.round_limit != 0;
    for (int r = first_round; row_top(r + 1) < h; ++r) {
        if (limited && r >= leg.rows) break;
        SetTextColor(dc, limited && r >= leg.rows - 3 ? tools.last3number_text : tools.header_text);
        int number = view.throw_count ? 3 * (r + 1) : r + 1;
        centred_text(dc, strprintf("%d", number), 7 * u, row_top(r + 1), 10 * u, row_top(r + 1) + rh);
    }
    if (limited) {
        // Below a limited leg there is nothing to fill in: plain background.
        int below = row_top(leg.rows + 1) + 1;
        if (below < h) fill(dc, 0, std::max(below, hh), w, h, tools.background.get());
    }

    SetTextColor(dc, tools.text);
    int remaining[2];
    for (int p = 0; p < 2; ++p) {
        remaining[p] = record.player[static_cast<size_t>(p)].start_score;
        for (int r = 0; r < first_round; ++r)
            if (entered(leg, p, r)) remaining[p] -= std::max(cell(leg, p, r), 0);
    }
    for (int r = first_round; r <= leg.cur_round && row_top(r + 1) < h; ++r) {
        const int top = row_top(r + 1);
        const bool odd_row = (r + 1) % 2 == 1;
        HBRUSH row_brush = odd_row ? tools.odd_background.get() : tools.background.get();
        for (int p = 0; p < 2; ++p) {
            if (!entered(leg, p, r)) continue;
            PlayerColumns c = columns_of(p, u);
            int v = cell(leg, p, r);
            if (v >= 0) {
                remaining[p] -= v;
                if (v >= 100) ton_ring(dc, tools, p, odd_row, c.scored_left, top, u, rh);
                centred_text(dc, strprintf("%d", v), c.scored_left, top, c.scored_right, top + rh);
                centred_text(dc, strprintf("%d", remaining[p]), c.to_go_left, top, c.to_go_right, top + rh);
            } else {
                int d = (3 * u - rh) / 2;
                SelectScope brush(dc, row_brush);
                SelectScope pen(dc, tools.text_pen.get());
                Ellipse(dc, c.scored_left + d + 1 + p, top + 2, c.scored_right - d - 1, top + rh - 1);
                centred_text(dc, strprintf("%d", -v), c.scored_left, top, c.scored_right, top + rh);
            }
        }
    }
}

} // namespace tx9
