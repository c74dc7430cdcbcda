#include <QApplication>
#include <QEvent>

#include "platform/EventPump.h"
#include "platform/version/VersionRecord.h"
#include "ui/ApplicationStart.h"
#include "ui/frmMain.h"
#include "ui/icons/ProgramIcon.h"
#include "ui/toolkit/MessageBox.h"

int main(int argc, char* argv[]) {
  orvendale::platform::preferUnixEventDispatcher();
  const auto app = orvendale::ui::startApplication(argc, argv);
  QApplication::setApplicationName(QString::fromStdString(orvendale::platform::App.ProductName()));
  QApplication::setWindowIcon(orvendale::ui::programIcon());
  QGuiApplication::setDesktopFileName(ORVENDALE_APP_ID);
  // The program ends when no window is loaded any more, not when the last one is hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  orvendale::ui::installMessageBox();

  orvendale::ui::frmMain::defaultInstance().Show();
  const int status = QApplication::exec();
  // Unloaded windows are deleted from the event loop; finish that before Qt goes away.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return status;
}
