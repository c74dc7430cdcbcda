#include "ui/frmAbout.h"

namespace orvendale::ui {

namespace {
constexpr Rgb kNavy{0, 0, 128};
}  // namespace

frmAbout::frmAbout() : Form(description()) {
  onClick("Command1", "Command1_Click", [this] { Command1_Click(); });
}

const WindowDescription& frmAbout::description() {
  static const WindowDescription window{
      .name = "frmAbout",
      .caption = "About",  // replaced before the window is first shown
      .backColor = kNavy,
      .clientWidth = 4785,
      .clientHeight = 4305,
      .resizable = true,
      .startPosition = StartPosition::CenterOwner,
      .controls =
          {
              {.kind = ControlKind::CommandButton,
               .name = "Command1",
               .caption = "Close",
               .left = 3000,
               .top = 3600,
               .width = 1335,
               .height = 495,
               .backColor = Rgb{192, 192, 255},
               .font = FontSpec{"Arial", 9.75},
               .tabIndex = 3,
               .cancel = true},
              {.kind = ControlKind::Label,
               .name = "lblContent",
               .left = 480,
               .top = 1440,
               .width = 3855,
               .height = 1935,
               .foreColor = Rgb{255, 255, 255},
               .backStyle = BackStyle::Transparent,
               .tabIndex = 2},
              {.kind = ControlKind::Label,
               .name = "lblName",
               .caption = "Orvendale",
               .left = 120,
               .top = 0,
               .width = 4455,
               .height = 855,
               .foreColor = Rgb{255, 255, 0},
               .backStyle = BackStyle::Transparent,
               .font = FontSpec{"Arial", 27.75},
               .alignment = Alignment::Center,
               .tabIndex = 1},
              {.kind = ControlKind::Shape,
               .name = "Shape3",
               .left = 1320,
               .top = 720,
               .width = 615,
               .height = 615,
               .backColor = Rgb{255, 255, 128}},
              {.kind = ControlKind::Label,
               .name = "Label3",
               .caption = "Quillomar Benchmark",
               .left = 2520,
               .top = 720,
               .width = 2055,
               .height = 375,
               .foreColor = kNavy,
               .backStyle = BackStyle::Transparent,
               .alignment = Alignment::Center,
               .tabIndex = 0},
              {.kind = ControlKind::Shape,
               .name = "Shape1",
               .left = 360,
               .top = 0,
               .width = 615,
               .height = 615,
               .backColor = Rgb{255, 0, 0}},
              {.kind = ControlKind::Shape,
               .name = "Shape4",
               .left = 1680,
               .top = 480,
               .width = 2895,
               .height = 495,
               .backColor = Rgb{0, 255, 0}},
              {.kind = ControlKind::Shape,
               .name = "Shape2",
               .left = 600,
               .top = 240,
               .width = 1455,
               .height = 735,
               .backColor = Rgb{255, 128, 0}},
          },
  };
  return window;
}

}  // namespace orvendale::ui
