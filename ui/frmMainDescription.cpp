#include "ui/WindowHeader.h"
#include "ui/frmMain.h"

namespace orvendale::ui {

namespace {
constexpr Rgb kButtonFace{128, 128, 255};
constexpr Rgb kWhite{255, 255, 255};
constexpr FontSpec kButtonFont{"Arial", 14.25};
}  // namespace

const WindowDescription& frmMain::description() {
  static const WindowDescription window{
      .name = "frmMain",
      .caption = "Quillomar CPU Orvendale",
      .backColor = kNavy,
      .clientWidth = 4680,
      .clientHeight = 3195,
      .resizable = false,
      .startPosition = StartPosition::CenterScreen,
      .font = FontSpec{"Arial", 9.75},
      .controls = withHeader(
          {
              {.kind = ControlKind::CommandButton,
               .name = "Command2",
               .caption = "Exit",
               .left = 3720,
               .top = 2520,
               .width = 615,
               .height = 615,
               .backColor = kButtonFace,
               .font = kButtonFont,
               .tabIndex = 3},
              {.kind = ControlKind::TextBox,
               .name = "Text2",
               .caption = "Text2",
               .left = 4560,
               .top = 1800,
               .width = 1935,
               .height = 615,
               .font = FontSpec{"新細明體", 9, 136},
               .tabIndex = 1,
               .visible = false},
              {.kind = ControlKind::CommandButton,
               .name = "Command1",
               .caption = "Run Benchmark",
               .left = 480,
               .top = 2520,
               .width = 3255,
               .height = 615,
               .backColor = kButtonFace,
               .font = kButtonFont,
               .tabIndex = 0},
              {.kind = ControlKind::Timer, .name = "Timer1", .enabled = false, .interval = 0},
              {.kind = ControlKind::Label,
               .name = "Label4",
               .caption = "Please don't do anything.",
               .left = 840,
               .top = 2160,
               .width = 2895,
               .height = 255,
               .foreColor = kWhite,
               .backStyle = BackStyle::Transparent,
               .tabIndex = 6},
          },
          kMainHeader,
          {
              {.kind = ControlKind::Label,
               .name = "Label1",
               .caption = "Result: (not run)",
               .left = 1080,
               .top = 1440,
               .width = 2415,
               .height = 615,
               .foreColor = kWhite,
               .backColor = kNavy,
               .backStyle = BackStyle::Opaque,
               .font = FontSpec{"Arial", 15.75},
               .alignment = Alignment::Center,
               .tabIndex = 2},
          }),
      .menus = {{.name = "mnu",
                 .caption = "a",
                 .visible = false,
                 .items = {{.name = "mnuAbout", .caption = "About..."}}}},
  };
  return window;
}

}  // namespace orvendale::ui
