#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/errors.h"
#include "runtime/msgbox.h"

namespace orvendale::testing {

// The code of the RuntimeError that `action` raises, or 0 when it raises none.
int errorCodeOf(auto&& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.code();
  }
  return 0;
}

// Captures every message box shown while it lives, instead of printing it.
class MsgBoxRecorder {
 public:
  MsgBoxRecorder()
      : previous_(
            setMsgBoxHandler([this](std::string_view prompt) { shown.emplace_back(prompt); })) {}
  ~MsgBoxRecorder() { setMsgBoxHandler(std::move(previous_)); }
  MsgBoxRecorder(const MsgBoxRecorder&) = delete;
  MsgBoxRecorder& operator=(const MsgBoxRecorder&) = delete;

  std::vector<std::string> shown;

 private:
  MsgBoxHandler previous_;
};

}  // namespace orvendale::testing
