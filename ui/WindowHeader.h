#pragma once

#include <vector>

#include "ui/toolkit/WindowDescription.h"

namespace orvendale::ui {

// The windows' background, and the colour of the header's subtitle.
constexpr Rgb kNavy{0, 0, 128};

// Where a window shows the header. The main window's is the header as designed; the About
// window's sits higher and further right.
struct HeaderPlacement {
  const char* titleName;  // the name of the label with the program's name
  int right;              // twips
  int up;                 // twips; the title, as wide as the window, moves up only
};

constexpr HeaderPlacement kMainHeader{.titleName = "Label2", .right = 0, .up = 0};
constexpr HeaderPlacement kAboutHeader{.titleName = "lblName", .right = 120, .up = 120};

// A window's controls from the front of the stacking order to the back: `inFront`, then the
// decorative header both windows show (the program's name in yellow and a navy subtitle over
// four coloured rectangles), then `behind`.
std::vector<ControlDescription> withHeader(std::vector<ControlDescription> inFront,
                                           const HeaderPlacement& placement,
                                           const std::vector<ControlDescription>& behind = {});

}  // namespace orvendale::ui
