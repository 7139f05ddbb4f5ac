#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo::tools {

// One hand-drawn pixel picture: rows from top to bottom, '#' lit and '.' unlit, all rows as
// wide as the drawing.
struct Drawing {
    std::vector<std::string> rows;

    int Width() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
    bool Lit(int row, int column) const { return rows[row][column] == '#'; }
};

// The drawings of one text: glyphs by character code, helpers (accent marks, a dotless i...) by
// name.
struct DrawingSet {
    std::map<int, Drawing> glyphs;
    std::map<std::string, Drawing> named;
};

struct DrawingParse {
    DrawingSet set;
    std::string error;  // empty on success; else "line N: what is wrong"
};

// Reads drawings written as blocks:
//
//   ; a comment line
//   [0x41] A          <- a glyph: its code in hex; the rest of the line is for the reader
//   ..##..
//   ...               <- exactly `height` rows of '#' and '.', all of one width (at least 1)
//
//   [mark acute capital]   <- a named helper drawing, same rules
//
// Blank lines separate blocks. Anything else (a stray row, a short block, a repeated code or
// name, a code above 255, another character in a row) is an error.
DrawingParse ParseDrawings(std::string_view text, int height);

}  // namespace tavlo::tools
