#include "runtime/msgbox.h"

#include <cstdio>
#include <utility>

namespace orvendale {

namespace {
MsgBoxHandler& currentHandler() {
  static MsgBoxHandler handler;
  return handler;
}
}  // namespace

void rtcMsgBox(std::string_view prompt) {
  if (const auto& handler = currentHandler()) {
    handler(prompt);
    return;
  }
  std::fprintf(stderr, "%.*s\n", static_cast<int>(prompt.size()), prompt.data());
}

MsgBoxHandler setMsgBoxHandler(MsgBoxHandler handler) {
  return std::exchange(currentHandler(), std::move(handler));
}

}  // namespace orvendale
