#include "ui/frmMain.h"

#include "platform/EventPump.h"
#include "platform/version/VersionRecord.h"
#include "ui/frmAbout.h"
#include "ui/icons/ProgramIcon.h"

namespace orvendale::ui {

frmMain::frmMain()
    : Form(description()),
      Timer1_(timer("Timer1")),
      Text2_(textBox("Text2")),
      Label1_(label("Label1")) {
  setWindowIcon(programIcon());
  onClick("Command1", "Command1_Click", [this] { Command1_Click(); });
  onClick("Command2", "Command2_Click", [this] { Command2_Click(); });
  onTimer("Timer1", "Timer1_Timer", [this] { Timer1_Timer(); });
  onMenuItem("mnuAbout", "mnuAbout_Click", [this] { mnuAbout_Click(); });
}

void frmMain::ShowAbout() {
  frmAbout& about = frmAbout::defaultInstance();
  const std::string caption =
      "About " + platform::App.ProductName() + "   " + platform::App.VersionText();
  about.setWindowTitle(QString::fromStdString(caption));
  about.label("lblContent")
      .setText(QString::fromStdString(platform::App.Comments() + "\n\n" +
                                      platform::App.FileDescription()));
  about.Show(this);  // modeless and without an owner; placed on this window the first time
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
  platform::rtcDoEvents();
}

}  // namespace orvendale::ui
