#pragma once

#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>

namespace orvendale::testing {

// Presses a mouse button on a widget and reports whether a popup menu opened, with its item
// captions. The popup is dismissed, or its first item chosen when `choose` is set.
struct PopupProbe {
  bool opened = false;
  QStringList items;

  void press(QWidget* target, QPoint position, Qt::MouseButton button,
             Qt::KeyboardModifiers modifiers = {}, bool choose = false) {
    QTimer::singleShot(50, [this, choose] {
      auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (popup == nullptr) {
        return;
      }
      opened = true;
      for (const QAction* action : popup->actions()) {
        items << action->text();
      }
      if (choose) {
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
      } else {
        popup->close();
      }
    });
    QTest::mousePress(target, button, modifiers, position);
    QTest::qWait(100);
    QTest::mouseRelease(target, button, modifiers, position);
  }
};

}  // namespace orvendale::testing
