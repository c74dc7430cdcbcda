#pragma once

#include <QObject>
#include <QTimer>

namespace orvendale::platform {

// A repeating timer on a precise clock. Enabled with a non-zero interval it ticks once per
// interval; disabled or with interval 0 it is stopped. Enabled reads back as written.
class Timer {
 public:
  explicit Timer(QObject* parent);

  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  int interval() const { return interval_; }
  void setInterval(int milliseconds);

  // The Qt timer, for connecting its timeout() signal.
  QTimer& qtimer() { return *timer_; }

 private:
  void apply();

  QTimer* timer_;
  bool enabled_ = false;
  int interval_ = 0;
};

}  // namespace orvendale::platform
