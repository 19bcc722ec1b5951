// The seam through which the calculation core tells the user something (today: an unrealisable
// request). The window installs a sink that shows a centred message box; the default writes to
// standard error.
#pragma once

#include <functional>
#include <string_view>

namespace mirelto {

enum class MessageType { Warning, Error, Information, Confirmation, Custom };

// Text (UTF-8, may hold CR LF) and type. Called on the calculating thread; it may block (a modal
// box) and returns when the user has seen the message.
using MessageSink = std::function<void(std::string_view text, MessageType type)>;

// Installs `sink` (an empty one restores the default) and returns the one it replaces.
MessageSink SetMessageSink(MessageSink sink);

// Hands a message to the installed sink.
void ShowMessage(std::string_view text, MessageType type);

}  // namespace mirelto
