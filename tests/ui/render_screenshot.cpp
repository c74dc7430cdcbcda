// Renders the main window as the X server shows it and saves it as a PNG. Run it under a
// virtual X server: scripts/screenshots.sh.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <cstdio>

#include "ui/frmMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Orvendale");
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  auto& window = orvendale::ui::frmMain::defaultInstance();
  window.Show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "the window was not shown\n");
    return 1;
  }
  QTest::qWait(300);  // let the first paint reach the screen
  const QRect frame = window.frameGeometry();
  const QPixmap shot =
      window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
