#include "mirelto/design/messages.h"

#include <array>
#include <cstdio>
#include <utility>

namespace mirelto {

namespace {

using enum MessageId;

constexpr std::array kMessages{
    MessageText{FaMissing, "fa-missing", MessageType::Warning, "faに値を入力してください",
                "Please enter a value for fa"},
    MessageText{FoMissing, "fo-missing", MessageType::Warning, "foに値を入力してください",
                "Please enter a value for fo"},
    MessageText{QMissing, "q-missing", MessageType::Warning, "Qに値を入力してください",
                "Please enter a value for Q"},
    MessageText{RequestNotPositive, "request-not-positive", MessageType::Error,
                "ゼロ以下の伝達関数パラメータは不正です",
                "Transfer-function parameters of zero or less are invalid"},
    MessageText{R1Missing, "r1-missing", MessageType::Warning, "R1に値を入力してください",
                "Please enter a value for R1"},
    MessageText{C1Missing, "c1-missing", MessageType::Warning, "C1に値を入力してください",
                "Please enter a value for C1"},
    MessageText{PartsMissing, "parts-missing", MessageType::Warning,
                "R1,R2,R3,C1,C2,C3 に値をセットしてください",
                "Please enter values for R1, R2, R3, C1, C2, C3"},
    MessageText{PartsNotPositive, "part-not-positive", MessageType::Error,
                "ゼロ以下の部品定数は不正です", "Part values of zero or less are invalid"},
    MessageText{UnrealisableLpf, "unrealisable-lpf", MessageType::Error,
                "この条件では実現できません(C < 0)\r\n\r\nR1<R2<=R3 で比を大きくすると実現できます",
                "This request cannot be realised (C < 0).\r\n\r\n"
                "Widen the ratios with R1 < R2 <= R3 to realise it."},
    MessageText{UnrealisableHpf, "unrealisable-hpf", MessageType::Error,
                "この条件では実現できません(R < 0)\r\n\r\nC1>C2>=C3 で比を大きくすると実現できます",
                "This request cannot be realised (R < 0).\r\n\r\n"
                "Widen the ratios with C1 > C2 >= C3 to realise it."},
};

// The table is indexed by identity.
constexpr bool InDeclarationOrder() {
    for (std::size_t i = 0; i < kMessages.size(); ++i) {
        if (static_cast<std::size_t>(kMessages[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InDeclarationOrder());
static_assert(kMessages.size() == static_cast<std::size_t>(UnrealisableHpf) + 1);

void WriteToStandardError(MessageId id) {
    const MessageText& message = TextOf(id);
    const char* label = message.type == MessageType::Error ? "Error" : "Warning";
    std::fprintf(stderr, "%s: %.*s\n", label, static_cast<int>(message.english.size()),
                 message.english.data());
}

MessageSink& InstalledSink() {
    static MessageSink sink = WriteToStandardError;
    return sink;
}

}  // namespace

std::span<const MessageText> AllMessages() {
    return kMessages;
}

const MessageText& TextOf(MessageId id) {
    return kMessages.at(static_cast<std::size_t>(id));
}

MessageSink SetMessageSink(MessageSink sink) {
    if (!sink) {
        sink = WriteToStandardError;
    }
    return std::exchange(InstalledSink(), std::move(sink));
}

void ShowMessage(MessageId id) {
    InstalledSink()(id);
}

}  // namespace mirelto
