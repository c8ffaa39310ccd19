// Drawing of the score sheet into its back buffer: header, start row, round
// numbers, visits with their remaining scores, ton circles and finish circles.
#pragma once

#include "core/win/gdi.h"
#include "core/system.h"
#include "engine/game_record.h"

#include <memory>

#include <windows.h>

namespace tx9 {

// The ton circles of one sheet, drawn once for its column width, row height
// and colours, for each player and row background, and copied into place.
struct TonRings {
    int unit = 0, row_height = 0; // what they were drawn for
    BackBuffer image;             // a cell per player across, even and odd rows down
};

// Fonts, brushes, pens and text colours of one sheet. Fonts follow the client
// width; the rest follows the Settings' colours.
struct SheetTools {
    Font header_font;
    Font row_font;
    int header_height = 0; // header font's text height + 5
    int row_height = 0;    // row font's text height + 5

    Brush background;
    Brush odd_background;
    Brush header_background;
    Pen line;           // grid, width 0
    Pen separate_thin;  // every fifth round, width 1
    Pen separate_thick; // header line and round column borders, width 2
    Pen text_pen;       // finish circle, width 2
    Pen ton_circle;     // visits of 100 or more, width 2

    Color text = 0;
    Color header_text = 0;
    Color last3number_text = 0;

    // Drawn at the first ton and again when the size changes; dropped with
    // the colours. An ellipse with a pen 2 pixels wide costs GDI a third of a
    // millisecond or so, and a screen of rows holds several.
    mutable std::unique_ptr<TonRings> ton_rings;
};

// Column unit of a client width: the sheet is 17 units wide.
inline int sheet_unit(int client_width) {
    return client_width / 17;
}

// Header font u/2 points, row font u points (u/2 in view mode), in the
// Settings' score face; heights measured in dc. False when a font fails.
bool build_sheet_fonts(SheetTools& tools, HDC dc, int client_width, bool view_mode);
// Brushes, pens and text colours from the Settings. False when one fails.
bool build_sheet_colours(SheetTools& tools);

struct SheetView {
    const GameRecord* record = nullptr;
    int shown_leg = 0;
    int top_row = 0; // first visible sheet row; row 0 is the start row, row k round k - 1
    int width = 0;
    int height = 0;
    bool throw_count = false; // number rounds by darts thrown (3, 6, 9...)
};

// Renders the whole client area into dc. Costs in proportion to the visible
// rows; only the remaining scores above the first visible round are summed.
void render_score_sheet(HDC dc, const SheetTools& tools, const SheetView& view);

} // namespace tx9
