#include "mirelto/output/print_layout.h"

#include <cmath>

namespace mirelto {

double PrintMarginTop = 20;
double PrintMarginLeft = 20;

namespace {

constexpr double kMillimetresPerInch = 25.4;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The end of the code point that starts at `at`.
std::size_t NextCharacter(std::string_view text, std::size_t at) {
    ++at;
    while (at < text.size() && IsContinuationByte(text[at])) {
        ++at;
    }
    return at;
}

// Lays out the lines of a job and counts its pages.
class Channel {
  public:
    Channel(const TextWidth& width, int lineHeight, int pageWidth, int pageHeight)
        : width_(width), lineHeight_(lineHeight), pageWidth_(pageWidth), pageHeight_(pageHeight) {}

    void Write(std::string_view text) {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
                Piece(text, start, i);
                if (i < text.size() && text[i] == '\n') {
                    NewLine();
                }
                start = i + 1;
            }
        }
    }

    ChannelLayout Result() && { return std::move(layout_); }

  private:
    void NewLine() {
        x_ = 0;
        y_ += lineHeight_;
        if (y_ + lineHeight_ > pageHeight_) {
            ++page_;
            y_ = 0;
        }
    }

    // Draws bytes [begin, end) from the current position, breaking where the line is full.
    void Piece(std::string_view text, std::size_t begin, std::size_t end) {
        while (begin < end) {
            const std::size_t fits = FittingEnd(text, begin, end);
            if (fits == begin) {
                NewLine();  // nothing fits behind what the line already holds
                continue;
            }
            const std::string_view drawn = text.substr(begin, fits - begin);
            layout_.pieces.push_back({page_, x_, y_, begin, drawn.size()});
            layout_.pages = page_ + 1;
            if (fits == end) {
                x_ += width_(drawn);
                return;
            }
            NewLine();
            begin = fits;
        }
    }

    // The end of the longest run of whole characters from `begin` that fits in the rest of the
    // line; on an empty line at least one character, so that every character is drawn.
    std::size_t FittingEnd(std::string_view text, std::size_t begin, std::size_t end) const {
        const int room = pageWidth_ - x_;
        if (width_(text.substr(begin, end - begin)) <= room) {
            return end;
        }
        std::size_t fits = begin;
        for (std::size_t next = NextCharacter(text, begin); next <= end;
             next = NextCharacter(text, next)) {
            if (width_(text.substr(begin, next - begin)) > room) {
                break;
            }
            fits = next;
            if (next == end) {
                break;
            }
        }
        if (fits == begin && x_ == 0) {
            fits = NextCharacter(text, begin);
        }
        return fits;
    }

    const TextWidth& width_;
    int lineHeight_;
    int pageWidth_;
    int pageHeight_;
    int page_ = 0;
    int x_ = 0;
    int y_ = 0;
    ChannelLayout layout_;
};

}  // namespace

PrintOrigin PrintOriginFor(int pixelsPerInch, PhysicalOffset offset) {
    const double ppmm = pixelsPerInch / kMillimetresPerInch;
    PrintOrigin origin;
    origin.y = static_cast<std::int32_t>(std::lround(PrintMarginTop * ppmm)) - offset.y;
    origin.x = static_cast<std::int32_t>(std::lround(PrintMarginLeft * ppmm)) - offset.x;
    return origin;
}

ChannelLayout LayoutTextChannel(std::string_view text, const TextWidth& width, int lineHeight,
                                int pageWidth, int pageHeight) {
    Channel channel(width, lineHeight, pageWidth, pageHeight);
    channel.Write(text);
    return std::move(channel).Result();
}

}  // namespace mirelto
