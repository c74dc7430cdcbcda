#include "ui/ApplicationStart.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace orvendale::ui {

namespace {

[[noreturn]] void exitWithoutDisplay() {
  std::fputs(
      "orvendale: no display can be reached: set DISPLAY or WAYLAND_DISPLAY, run it under "
      "xvfb-run, or use orvendale-cli for a run without a window\n",
      stderr);
  // _Exit: Qt may be half set up, so nothing of it is torn down.
  std::_Exit(1);
}

// True when nothing chooses a window system: no -platform argument, no QT_QPA_PLATFORM, and
// neither an X nor a Wayland display named.
bool noDisplayNamed(int argc, char** argv) {
  for (int index = 1; index < argc; ++index) {
    const std::string_view argument = argv[index];
    if (argument == "-platform" || argument == "--platform") {
      return false;
    }
  }
  return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// While the application object is made, Qt's messages are held back: a window system that does
// not answer ends in Qt's fatal message, which becomes the one line above. Otherwise they are
// passed on afterwards, as they were.
struct HeldMessage {
  QtMsgType type;
  const char* file;
  int line;
  const char* function;
  const char* category;
  QString text;
};
std::vector<HeldMessage>* g_heldMessages = nullptr;

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    exitWithoutDisplay();
  }
  g_heldMessages->push_back(
      {type, context.file, context.line, context.function, context.category, text});
}

}  // namespace

std::unique_ptr<QApplication> startApplication(int& argc, char** argv) {
  if (noDisplayNamed(argc, argv)) {
    exitWithoutDisplay();
  }
  std::vector<HeldMessage> held;
  g_heldMessages = &held;
  const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  g_heldMessages = nullptr;
  for (const HeldMessage& message : held) {
    const QMessageLogContext context(message.file, message.line, message.function,
                                     message.category);
    previous(message.type, context, message.text);
  }
  return app;
}

}  // namespace orvendale::ui
