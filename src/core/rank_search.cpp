#include "rank_search.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <new>

namespace mirelto::detail {

namespace {

// The first pass counts by the top 22 bits (4 M counts, 16 MB): sign, exponent and 10 bits of the
// mantissa, so a bracket spans 0.05 to 0.1 % of its value and holds a few per cent of a spread of
// a few per cent. Later passes count by 21 more bits at a time, fixing the whole key after two.
constexpr int kFirstBits = 22;
constexpr int kStepBits = 21;
constexpr int kKeyBits = 64;
constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;

// Doubles as unsigned keys in the same order: a positive double's pattern with the sign bit set,
// a negative one's with every bit flipped.
std::uint64_t OrderKey(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    return (bits & kSignBit) != 0 ? ~bits : bits | kSignBit;
}

double FromOrderKey(std::uint64_t key) {
    return std::bit_cast<double>((key & kSignBit) != 0 ? key & ~kSignBit : ~key);
}

bool InBracket(std::uint64_t key, int known, std::uint64_t prefix) {
    return known == 0 || (key >> (kKeyBits - known)) == prefix;
}

std::uint32_t* ZeroedCounts(int bits) {
    void* counts = std::calloc(std::size_t{1} << bits, sizeof(std::uint32_t));
    if (counts == nullptr) {
        throw std::bad_alloc();
    }
    return static_cast<std::uint32_t*>(counts);
}

}  // namespace

RankSearch::RankSearch(std::int64_t mostCollected) : mostCollected_(mostCollected) {
    Bracket all;
    all.bits = kFirstBits;
    all.counts.reset(ZeroedCounts(kFirstBits));
    brackets_.push_back(std::move(all));
}

void RankSearch::Add(double value) {
    const std::uint64_t key = OrderKey(value);
    for (Bracket& b : brackets_) {
        if (!InBracket(key, b.known, b.prefix)) {
            continue;
        }
        if (b.bits == 0) {
            b.values.push_back(value);
        } else {
            ++b.counts[static_cast<std::size_t>((key << b.known) >> (kKeyBits - b.bits))];
        }
    }
}

void RankSearch::Locate(std::span<const std::int64_t> ranks) {
    targets_.clear();
    for (const std::int64_t rank : ranks) {
        Target target;
        target.rank = rank;
        targets_.push_back(target);
    }
    Narrow(brackets_.front());
    brackets_.clear();
}

RankSearch::Bracket& RankSearch::BracketOf(const Target& target) {
    return *std::find_if(brackets_.begin(), brackets_.end(), [&](const Bracket& b) {
        return b.known == target.known && b.prefix == target.prefix;
    });
}

void RankSearch::BeginPass() {
    brackets_.clear();
    std::vector<const Target*> open;
    for (const Target& t : targets_) {
        if (!t.found && std::none_of(open.begin(), open.end(), [&](const Target* o) {
                return o->known == t.known && o->prefix == t.prefix;
            })) {
            open.push_back(&t);
        }
    }
    // The smallest brackets collect first, so the most of them finish in this pass.
    std::sort(open.begin(), open.end(),
              [](const Target* a, const Target* b) { return a->inside < b->inside; });
    std::int64_t room = mostCollected_;
    for (const Target* t : open) {
        Bracket b;
        b.known = t->known;
        b.prefix = t->prefix;
        if (t->inside <= room) {
            room -= t->inside;
            b.values.reserve(static_cast<std::size_t>(t->inside));
        } else {
            b.bits = std::min(kStepBits, kKeyBits - t->known);
            b.counts.reset(ZeroedCounts(b.bits));
        }
        brackets_.push_back(std::move(b));
    }
}

void RankSearch::EndPass() {
    for (Target& t : targets_) {
        if (t.found) {
            continue;
        }
        Bracket& b = BracketOf(t);
        if (b.bits == 0) {
            const auto at = b.values.begin() + (t.rank - t.below);
            std::nth_element(b.values.begin(), at, b.values.end());
            t.value = *at;
            t.found = true;
        }
    }
    for (const Bracket& b : brackets_) {
        if (b.bits != 0) {
            Narrow(b);
        }
    }
    brackets_.clear();
}

void RankSearch::Narrow(const Bracket& bracket) {
    std::vector<Target*> inside;
    for (Target& t : targets_) {
        if (!t.found && t.known == bracket.known && t.prefix == bracket.prefix) {
            inside.push_back(&t);
        }
    }
    std::sort(inside.begin(), inside.end(),
              [](const Target* a, const Target* b) { return a->rank < b->rank; });
    // Every target in the bracket starts with the same count below it.
    std::int64_t below = inside.empty() ? 0 : inside.front()->below;
    std::size_t cell = 0;
    for (Target* target : inside) {
        while (below + bracket.counts[cell] <= target->rank) {
            below += bracket.counts[cell];
            ++cell;
        }
        target->below = below;
        target->inside = bracket.counts[cell];
        target->prefix = (target->prefix << bracket.bits) | cell;
        target->known += bracket.bits;
        if (target->known == kKeyBits) {
            target->value = FromOrderKey(target->prefix);
            target->found = true;
        }
    }
}

bool RankSearch::Done() const {
    return std::all_of(targets_.begin(), targets_.end(), [](const Target& t) { return t.found; });
}

double RankSearch::At(std::int64_t rank) const {
    const auto at = std::find_if(targets_.begin(), targets_.end(),
                                 [rank](const Target& t) { return t.rank == rank; });
    return at == targets_.end() || !at->found ? std::numeric_limits<double>::quiet_NaN()
                                              : at->value;
}

}  // namespace mirelto::detail
