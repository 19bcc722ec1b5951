// The seam through which the calculator tells the user something: each message has an identity,
// a stable code name, a type and its text in Japanese (the window's own language) and in English
// (the command line, and the window under other desktops' languages), all in one table here. The
// window installs a sink that shows a centred message box; the default writes the English text to
// standard error.
#pragma once

#include <functional>
#include <span>
#include <string_view>

namespace mirelto {

enum class MessageType { Warning, Error, Information, Confirmation, Custom };

// Every message of the calculation commands: the window's checks of its boxes and the
// synthesis's refusals. The table in messages.cpp holds one row per identity, in this order.
enum class MessageId {
    FaMissing,
    FoMissing,
    QMissing,
    RequestNotPositive,
    R1Missing,
    C1Missing,
    PartsMissing,
    PartsNotPositive,
    UnrealisableLpf,
    UnrealisableHpf,
};

struct MessageText {
    MessageId id;
    std::string_view code;  // the stable kebab-case name mirelto-cli's --json gives it
    MessageType type;
    std::string_view japanese;  // UTF-8, may hold CR LF
    std::string_view english;   // the same facts; same line breaks
};

// The table, one row per MessageId in declaration order.
std::span<const MessageText> AllMessages();
const MessageText& TextOf(MessageId id);

// Called on the calculating thread; it may block (a modal box) and returns when the user has
// seen the message.
using MessageSink = std::function<void(MessageId id)>;

// Installs `sink` (an empty one restores the default) and returns the one it replaces.
MessageSink SetMessageSink(MessageSink sink);

// Hands a message to the installed sink.
void ShowMessage(MessageId id);

}  // namespace mirelto
