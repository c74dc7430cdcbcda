#pragma once

namespace orvendale::testing {

struct LibmCallCounts {
  long log = 0;
  long tan = 0;
  long cos = 0;
  long sin = 0;
};

// Calls made through the program's log, tan, cos and sin since start-up.
extern LibmCallCounts libmCalls;

}  // namespace orvendale::testing
