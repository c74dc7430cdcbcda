#pragma once

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace orvendale::testing {

// Presses a mouse button on a widget and records the item captions of the popup menu it opens,
// if any. The popup is then dismissed, or its first item chosen when `choose` is set.
struct PopupProbe {
  QStringList items;

  void press(QWidget* target, QPoint at, Qt::MouseButton button, bool choose = false) {
    QTimer::singleShot(50, [this, choose] {
      if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        for (const QAction* action : popup->actions()) {
          items << action->text();
        }
        popup->setActiveAction(popup->actions().value(0));
        QTest::keyClick(popup, choose ? Qt::Key_Return : Qt::Key_Escape);
      }
    });
    QTest::mousePress(target, button, {}, at);
    QTest::qWait(100);
    QTest::mouseRelease(target, button, {}, at);
  }
};

}  // namespace orvendale::testing
