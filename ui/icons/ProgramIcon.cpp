#include "ui/icons/ProgramIcon.h"

#include <QPixmap>

namespace {
#include "ui/icons/orvendale-16.xpm"
#include "ui/icons/orvendale-32.xpm"
}  // namespace

namespace orvendale::ui {

QIcon programIcon() {
  QIcon icon;
  icon.addPixmap(QPixmap(orvendale_32_xpm));
  icon.addPixmap(QPixmap(orvendale_16_xpm));
  return icon;
}

}  // namespace orvendale::ui
