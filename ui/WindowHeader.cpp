#include "ui/WindowHeader.h"

namespace orvendale::ui {

namespace {
std::vector<ControlDescription> headerControls(const HeaderPlacement& placement) {
  const int right = placement.right;
  const int up = placement.up;
  return {
      {.kind = ControlKind::Label,
       .name = "Label3",
       .caption = "Quillomar Benchmark",
       .left = 2400 + right,
       .top = 840 - up,
       .width = 2055,
       .height = 375,
       .foreColor = kNavy,
       .backStyle = BackStyle::Transparent,
       .alignment = Alignment::Center},
      {.kind = ControlKind::Label,
       .name = placement.titleName,
       .caption = "Orvendale",
       .left = 120,
       .top = 120 - up,
       .width = 4455,
       .height = 855,
       .foreColor = Rgb{255, 255, 0},
       .backStyle = BackStyle::Transparent,
       .font = FontSpec{"Arial", 27.75},
       .alignment = Alignment::Center},
      {.kind = ControlKind::Shape,
       .name = "Shape3",
       .left = 1200 + right,
       .top = 840 - up,
       .width = 615,
       .height = 615,
       .backColor = Rgb{255, 255, 128}},
      {.kind = ControlKind::Shape,
       .name = "Shape4",
       .left = 1560 + right,
       .top = 600 - up,
       .width = 2895,
       .height = 495,
       .backColor = Rgb{0, 255, 0}},
      {.kind = ControlKind::Shape,
       .name = "Shape1",
       .left = 240 + right,
       .top = 120 - up,
       .width = 615,
       .height = 615,
       .backColor = Rgb{255, 0, 0}},
      {.kind = ControlKind::Shape,
       .name = "Shape2",
       .left = 480 + right,
       .top = 360 - up,
       .width = 1455,
       .height = 735,
       .backColor = Rgb{255, 128, 0}},
  };
}
}  // namespace

std::vector<ControlDescription> withHeader(std::vector<ControlDescription> inFront,
                                           const HeaderPlacement& placement,
                                           const std::vector<ControlDescription>& behind) {
  const std::vector<ControlDescription> header = headerControls(placement);
  inFront.insert(inFront.end(), header.begin(), header.end());
  inFront.insert(inFront.end(), behind.begin(), behind.end());
  return inFront;
}

}  // namespace orvendale::ui
