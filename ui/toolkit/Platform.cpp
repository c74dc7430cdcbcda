#include "ui/toolkit/Platform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include "runtime/loopstate.h"
#include "runtime/msgbox.h"

namespace orvendale::ui {

void rtcDoEvents() {
  // Every handler and nested event loop (popup, message box) runs inside this call, so this
  // one guard keeps them all from changing what the next work iteration costs or whether it
  // fails.
  const LoopStateGuard loopState;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void preferUnixEventDispatcher() {
  // The work loop pumps once per iteration, and an empty pump costs less with Qt's own
  // dispatcher.
  if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) {
    qputenv("QT_NO_GLIB", "1");
  }
}

void installMessageBox() {
  setMsgBoxHandler([](std::string_view prompt) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    QString::fromUtf8(prompt.data(), static_cast<qsizetype>(prompt.size())),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
  });
}

}  // namespace orvendale::ui
