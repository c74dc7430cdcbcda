#include "ui/frmMain.h"

#include <QPointer>

#include "ui/toolkit/Platform.h"

namespace orvendale::ui {

frmMain::frmMain()
    : Form(description()),
      Timer1_(timer("Timer1")),
      Text2_(textBox("Text2")),
      Label1_(label("Label1")) {
  onClick("Command1", "Command1_Click", [this] { Command1_Click(); });
  onClick("Command2", "Command2_Click", [this] { Command2_Click(); });
  onTimer("Timer1", "Timer1_Timer", [this] { Timer1_Timer(); });
  onMenuItem("mnuAbout", "mnuAbout_Click", [this] { mnuAbout_Click(); });
}

frmMain& frmMain::defaultInstance() {
  static QPointer<frmMain> instance;
  if (instance.isNull() || !instance->isLoaded()) {
    instance = new frmMain;
  }
  return *instance;
}

void frmMain::ShowAbout() {
  // The About window arrives with the version record.
}

void frmMain::Form_MouseDown(int Button, int, float, float) {
  if (Button != 2) {
    return;
  }
  PopupMenu("mnu");
}

void frmMain::setText2(const std::string& text) {
  Text2_.setText(QString::fromStdString(text));
}

void frmMain::setLabel1Caption(const std::string& caption) {
  Label1_.setText(QString::fromStdString(caption));
}

void frmMain::doEvents() {
  rtcDoEvents();
}

}  // namespace orvendale::ui
