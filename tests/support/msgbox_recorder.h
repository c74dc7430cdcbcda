#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/msgbox.h"

namespace orvendale::testing {

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
