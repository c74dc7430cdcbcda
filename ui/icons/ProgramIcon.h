#pragma once

#include <QIcon>

namespace orvendale::ui {

// The program's alarm-clock icon, 32x32 and 16x16, built from the XPM images in this folder.
QIcon programIcon();

}  // namespace orvendale::ui
