// Print placement: the origin that puts the first line 20 mm from the sheet's edges, and the
// text channel's lines, breaks and pages, measured with a fixed-pitch width.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "mirelto/output/print_layout.h"

namespace mirelto {
namespace {

struct OriginCase {
    std::string name;
    int dpi;
    PhysicalOffset offset;
    PrintOrigin expected;
};

class PrintOriginTest : public testing::TestWithParam<OriginCase> {};

TEST_P(PrintOriginTest, MarginLessPhysicalOffset) {
    const OriginCase& c = GetParam();
    EXPECT_EQ(PrintOriginFor(c.dpi, c.offset), c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Printers, PrintOriginTest, testing::Values(
    OriginCase{"Dpi600Offset100And120", 600, {100, 120}, {372, 352}},
    OriginCase{"Dpi300Offset50", 300, {50, 50}, {186, 186}},
    OriginCase{"Dpi600NoOffset", 600, {0, 0}, {472, 472}},
    // 20 mm at 1200 dpi is 944.88 px: rounded up, not cut.
    OriginCase{"Dpi1200RoundsUp", 1200, {0, 0}, {945, 945}},
    // At 127 dpi 20 mm is exactly 100 px.
    OriginCase{"Dpi127Exact", 127, {3, 7}, {97, 93}},
    // A printable area that starts past the margin gives a negative origin.
    OriginCase{"OffsetBeyondMargin", 300, {250, 240}, {-14, -4}}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(PrintMarginsTest, AreTwentyMillimetres) {
    EXPECT_EQ(PrintMarginTop, 20.0);
    EXPECT_EQ(PrintMarginLeft, 20.0);
}

// Every character is 10 px wide, whatever its length in UTF-8.
int FixedPitch(std::string_view text) {
    int characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return 10 * characters;
}

struct Drawn {
    int page, x, y;
    std::string text;
    friend bool operator==(const Drawn&, const Drawn&) = default;
    friend void PrintTo(const Drawn& d, std::ostream* os) {
        *os << "{page " << d.page << " at " << d.x << "," << d.y << " \"" << d.text << "\"}";
    }
};

struct ChannelCase {
    std::string name;
    std::string text;
    int pageWidth, pageHeight;  // line height 12
    std::vector<Drawn> expected;
    int pages;
};

class TextChannelTest : public testing::TestWithParam<ChannelCase> {};

TEST_P(TextChannelTest, DrawsPiecesWhereTheChannelPutsThem) {
    const ChannelCase& c = GetParam();
    const ChannelLayout layout =
        LayoutTextChannel(c.text, FixedPitch, 12, c.pageWidth, c.pageHeight);
    std::vector<Drawn> drawn;
    for (const ChannelPiece& p : layout.pieces) {
        drawn.push_back({p.page, p.x, p.y, c.text.substr(p.offset, p.size)});
    }
    EXPECT_EQ(drawn, c.expected);
    EXPECT_EQ(layout.pages, c.pages);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, TextChannelTest, testing::Values(
    ChannelCase{"CrLfLines", "ab\r\ncd\r\n", 100, 100, {{0, 0, 0, "ab"}, {0, 0, 12, "cd"}}, 1},
    // Carriage return alone ends a piece; the next one goes on where it stopped.
    ChannelCase{"CarriageReturnDoesNotMove", "ab\rcd", 100, 100, {{0, 0, 0, "ab"}, {0, 20, 0, "cd"}}, 1},
    ChannelCase{"EmptyLinesAdvance", "a\n\n\nb", 100, 100, {{0, 0, 0, "a"}, {0, 0, 36, "b"}}, 1},
    // Ten characters fit in 100 px; the eleventh starts the next line.
    ChannelCase{"ExactFitStays", "0123456789", 100, 100, {{0, 0, 0, "0123456789"}}, 1},
    ChannelCase{"WideLineBreaks", "0123456789ABCDEFGHIJKLMNO", 100, 100, {{0, 0, 0, "0123456789"}, {0, 0, 12, "ABCDEFGHIJ"}, {0, 0, 24, "KLMNO"}}, 1},
    // After a carriage return the rest of the line is narrower.
    ChannelCase{"BreakUsesRestOfLine", "0123456\rABCDE", 100, 100, {{0, 0, 0, "0123456"}, {0, 70, 0, "ABC"}, {0, 0, 12, "DE"}}, 1},
    // A full line leaves no room: the next piece starts the next line whole.
    ChannelCase{"FullLineThenPiece", "0123456789\rAB", 100, 100, {{0, 0, 0, "0123456789"}, {0, 0, 12, "AB"}}, 1},
    // Characters are never split, whatever their length in UTF-8.
    ChannelCase{"MultiByteCharacters", "定数計算Ω", 30, 100, {{0, 0, 0, "定数計"}, {0, 0, 12, "算Ω"}}, 1},
    // A page narrower than one character still shows every character, one per line.
    ChannelCase{"NarrowerThanOneCharacter", "abc", 5, 100, {{0, 0, 0, "a"}, {0, 0, 12, "b"}, {0, 0, 24, "c"}}, 1},
    // Three lines of 12 fit in 40; the fourth starts page 2 at the top.
    ChannelCase{"FourthLineOnNewPage", "1\n2\n3\n4\n5", 100, 40, {{0, 0, 0, "1"}, {0, 0, 12, "2"}, {0, 0, 24, "3"}, {1, 0, 0, "4"}, {1, 0, 12, "5"}}, 2},
    // A wrapped line continues on the next page too.
    ChannelCase{"WrapAcrossPages", "0123456789AB", 50, 24, {{0, 0, 0, "01234"}, {0, 0, 12, "56789"}, {1, 0, 0, "AB"}}, 2},
    // Line breaks past the last text start no page of their own.
    ChannelCase{"TrailingBreaksPrintNoPage", "1\n2\n\n\n\n", 100, 30, {{0, 0, 0, "1"}, {0, 0, 12, "2"}}, 1},
    ChannelCase{"Empty", "", 100, 100, {}, 1}),
    [](const auto& info) { return info.param.name; });
// clang-format on

}  // namespace
}  // namespace mirelto
