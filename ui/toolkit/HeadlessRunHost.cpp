#include "ui/toolkit/HeadlessRunHost.h"

#include <utility>

#include "ui/toolkit/Platform.h"

namespace orvendale::ui {

HeadlessRunHost::HeadlessRunHost() {
  QObject::connect(&timer1_.qtimer(), &QTimer::timeout, &timerOwner_,
                   [this] { engine_.Timer1_Timer(); });
}

void HeadlessRunHost::setTickHandler(std::function<void(std::int16_t ticks)> handler) {
  QObject::disconnect(tickConnection_);
  if (handler) {
    // Connected after the engine's handler, so Qt calls it second and it sees the new count.
    tickConnection_ =
        QObject::connect(&timer1_.qtimer(), &QTimer::timeout, &timerOwner_,
                         [this, handler = std::move(handler)] { handler(engine_.intTicks()); });
  }
}

void HeadlessRunHost::doEvents() {
  rtcDoEvents();
}

}  // namespace orvendale::ui
