#pragma once

#include <functional>
#include <string_view>

namespace orvendale {

// Shows an application-modal message with an OK button only.
// Without a user interface the message goes to stderr; the UI installs its dialog with
// setMsgBoxHandler(), tests install a recorder.
void rtcMsgBox(std::string_view prompt);

using MsgBoxHandler = std::function<void(std::string_view prompt)>;

// Installs `handler` (an empty one restores the stderr default) and returns the previous one.
MsgBoxHandler setMsgBoxHandler(MsgBoxHandler handler);

}  // namespace orvendale
