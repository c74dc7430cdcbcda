#include "ui/frmAbout.h"

#include "ui/WindowHeader.h"

namespace orvendale::ui {

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
      .controls = withHeader(
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
          },
          kAboutHeader),
  };
  return window;
}

}  // namespace orvendale::ui
