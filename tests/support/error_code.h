#pragma once

#include "runtime/errors.h"

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

}  // namespace orvendale::testing
