#pragma once

namespace orvendale::testing {

// Faults the fault test arms from inside a run. Each fires once, then disarms itself.
struct Faults {
  bool failText2 = false;             // the next QLineEdit::setText (Text2's tick count) raises
  bool failTan = false;               // the next tan() gives NaN and sets invalid-operation
  bool failCipherAllocation = false;  // the next tan() arms a failure of the next allocation of
                                      // 90 bytes or more: the sixth encryption's output
};
extern Faults faults;

}  // namespace orvendale::testing
