// Where printed text goes: the margins measured from the sheet's edges, the origin that puts the
// first line there, and the printer's text channel, which lays text out line by line, breaking
// lines that are too wide and starting new pages. Pure arithmetic; drawing is the caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace mirelto {

// Distance of the first line's top from the sheet's top edge, and of the lines' left end from
// the sheet's left edge, in millimetres; 20 each for the whole run.
extern double PrintMarginTop;
extern double PrintMarginLeft;

// From the sheet's top-left corner to the top-left corner of the printable area, in printer
// device pixels.
struct PhysicalOffset {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const PhysicalOffset&, const PhysicalOffset&) = default;
};

// Where logical (0, 0) goes, in device pixels from the printable area's top-left corner.
struct PrintOrigin {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const PrintOrigin&, const PrintOrigin&) = default;
};

// round(margin x ppmm) - offset for each direction, the top first; ppmm = pixelsPerInch / 25.4,
// from the vertical resolution, serves both directions.
PrintOrigin PrintOriginFor(int pixelsPerInch, PhysicalOffset offset);

// One stretch of text drawn in one go: bytes [offset, offset + size) of the text, its top-left
// corner at (x, y) on page `page` (0 is the first).
struct ChannelPiece {
    int page = 0;
    int x = 0, y = 0;
    std::size_t offset = 0, size = 0;
    friend bool operator==(const ChannelPiece&, const ChannelPiece&) = default;
};

struct ChannelLayout {
    std::vector<ChannelPiece> pieces;
    int pages = 1;  // pages the job prints; a page is started only for text drawn on it
};

// The width in pixels of a run of UTF-8 text, as it would be drawn.
using TextWidth = std::function<int(std::string_view)>;

// Lays `text` (UTF-8) out the way the printer's text channel writes it: carriage return ends a
// piece without moving; line feed moves to the start of the next line, `lineHeight` down; a
// piece wider than the rest of the line breaks after its last character that fits (at least one
// character on an empty line) and goes on at the start of the next; a line whose bottom would
// pass `pageHeight` starts a new page at the top.
ChannelLayout LayoutTextChannel(std::string_view text, const TextWidth& width, int lineHeight,
                                int pageWidth, int pageHeight);

}  // namespace mirelto
