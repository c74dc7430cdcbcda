#include "platform/Timer.h"

namespace orvendale::platform {

Timer::Timer(QObject* parent) : timer_(new QTimer(parent)) {
  timer_->setTimerType(Qt::PreciseTimer);
}

void Timer::setEnabled(bool enabled) {
  enabled_ = enabled;
  apply();
}

void Timer::setInterval(int milliseconds) {
  interval_ = milliseconds;
  apply();
}

void Timer::apply() {
  if (enabled_ && interval_ > 0) {
    timer_->start(interval_);  // (re)starts the count from now
  } else {
    timer_->stop();
  }
}

}  // namespace orvendale::platform
