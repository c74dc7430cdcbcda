#include "platform/HeadlessRunHost.h"

#include "platform/EventPump.h"

namespace orvendale::platform {

HeadlessRunHost::HeadlessRunHost() {
  QObject::connect(&timer1_.qtimer(), &QTimer::timeout, &timerOwner_, [this] {
    engine_.Timer1_Timer();
    if (tickHandler_) {
      tickHandler_(engine_.intTicks());
    }
  });
}

void HeadlessRunHost::doEvents() {
  rtcDoEvents();
}

}  // namespace orvendale::platform
