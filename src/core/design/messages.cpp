#include "mirelto/design/messages.h"

#include <cstdio>
#include <utility>

namespace mirelto {

namespace {

void WriteToStandardError(std::string_view text, MessageType type) {
    const char* label = type == MessageType::Error ? "Error" : "Warning";
    std::fprintf(stderr, "%s: %.*s\n", label, static_cast<int>(text.size()), text.data());
}

MessageSink& InstalledSink() {
    static MessageSink sink = WriteToStandardError;
    return sink;
}

}  // namespace

MessageSink SetMessageSink(MessageSink sink) {
    if (!sink) {
        sink = WriteToStandardError;
    }
    return std::exchange(InstalledSink(), std::move(sink));
}

void ShowMessage(std::string_view text, MessageType type) {
    InstalledSink()(text, type);
}

}  // namespace mirelto
