// Renders a window as the X server shows it and saves it as a PNG: "main" for the main window,
// "about" for the About window opened over it. Run it under a virtual X server:
// scripts/screenshots.sh.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <cstring>

#include "ui/frmAbout.h"
#include "ui/frmMain.h"
#include "ui/icons/ProgramIcon.h"

namespace {
bool save(QWidget& window, const char* path) {
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "the window was not shown\n");
    return false;
  }
  QTest::qWait(500);  // let the window manager frame it and the first paint arrive
  const QRect frame = window.frameGeometry();
  return window.screen()
      ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
      .save(QString::fromLocal8Bit(path));
}
}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Orvendale");
  QApplication::setWindowIcon(orvendale::ui::programIcon());
  const bool about = argc == 3 && std::strcmp(argv[1], "about") == 0;
  if (argc != 3 || (!about && std::strcmp(argv[1], "main") != 0)) {
    std::fprintf(stderr, "usage: %s main|about OUTPUT.png\n", argv[0]);
    return 2;
  }
  auto& window = orvendale::ui::frmMain::defaultInstance();
  window.Show();
  if (!about) {
    return save(window, argv[2]) ? 0 : 1;
  }
  if (!QTest::qWaitForWindowExposed(&window)) {
    return 1;
  }
  window.ShowAbout();
  return save(orvendale::ui::frmAbout::defaultInstance(), argv[2]) ? 0 : 1;
}
