#include "ui/toolkit/MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>

#include "runtime/msgbox.h"

namespace orvendale::ui {

void installMessageBox() {
  setMsgBoxHandler([](std::string_view prompt) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    QString::fromUtf8(prompt.data(), static_cast<qsizetype>(prompt.size())),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
  });
}

}  // namespace orvendale::ui
