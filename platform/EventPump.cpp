#include "platform/EventPump.h"

#include <QCoreApplication>

namespace orvendale::platform {

void rtcDoEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace orvendale::platform
