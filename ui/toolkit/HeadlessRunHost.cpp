#include "ui/toolkit/HeadlessRunHost.h"

#include "ui/toolkit/Platform.h"

namespace orvendale::ui {

HeadlessRunHost::HeadlessRunHost() {
  QObject::connect(&timer1_.qtimer(), &QTimer::timeout, &timerOwner_,
                   [this] { engine_.Timer1_Timer(); });
}

void HeadlessRunHost::doEvents() {
  rtcDoEvents();
}

}  // namespace orvendale::ui
