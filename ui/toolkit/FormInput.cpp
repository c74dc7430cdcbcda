// A form's input: clicks, timer ticks, mouse presses, keys and popup menu choices turned into
// calls of its event handlers, and the mouse pointer shown over it.
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <string>
#include <utility>

#include "ui/toolkit/Form.h"
#include "ui/toolkit/HandlerErrors.h"
#include "ui/toolkit/Units.h"

namespace orvendale::ui {

namespace {
// Increments a counter for the lifetime of a scope.
class CountedScope {
 public:
  explicit CountedScope(int& counter) : counter_(counter) { ++counter_; }
  ~CountedScope() { --counter_; }
  CountedScope(const CountedScope&) = delete;
  CountedScope& operator=(const CountedScope&) = delete;

 private:
  int& counter_;
};

int buttonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
  }
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
         (modifiers & Qt::AltModifier ? 4 : 0);
}
}  // namespace

void Form::handle(const char* handlerName, const std::function<void()>& handler) {
  {
    const CountedScope running(runningHandlers_);
    runReportingErrors(handlerName, handler);
  }
  destroyWhenIdle();
}

void Form::onClick(std::string_view buttonName, const char* handlerName,
                   std::function<void()> handler) {
  connect(&button(buttonName), &QPushButton::clicked, this,
          [this, handlerName, handler = std::move(handler)] { handle(handlerName, handler); });
}

void Form::onTimer(std::string_view timerName, const char* handlerName,
                   std::function<void()> handler) {
  connect(&timer(timerName).qtimer(), &QTimer::timeout, this,
          [this, handlerName, handler = std::move(handler)] { handle(handlerName, handler); });
}

void Form::onMenuItem(std::string_view itemName, const char* handlerName,
                      std::function<void()> handler) {
  menuHandlers_.insert_or_assign(std::string(itemName),
                                 MenuItemHandler{handlerName, std::move(handler)});
}

void Form::PopupMenu(std::string_view menuName) {
  const auto menu = std::find_if(description_.menus.begin(), description_.menus.end(),
                                 [&](const MenuDescription& m) { return m.name == menuName; });
  if (menu == description_.menus.end()) {
    return;
  }
  QMenu popup(this);
  for (const MenuItemDescription& item : menu->items) {
    popup.addAction(QString::fromUtf8(item.caption))->setObjectName(QString::fromUtf8(item.name));
  }
  const QAction* chosen = popup.exec(QCursor::pos());
  if (chosen == nullptr) {
    return;
  }
  const auto handler = menuHandlers_.find(chosen->objectName().toStdString());
  if (handler != menuHandlers_.end()) {
    handle(handler->second.handlerName, handler->second.handler);
  }
}

void Form::setMousePointer(int pointer) {
  if (pointer == 11) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
  }
}

void Form::Form_MouseDown(int, int, float, float) {}

void Form::mousePressEvent(QMouseEvent* event) {
  const int button = buttonCode(event->button());
  const int shift = shiftCode(event->modifiers());
  const QPointF position = event->position();
  event->accept();
  handle("Form_MouseDown", [&] {
    Form_MouseDown(button, shift, twipsFromPixels(position.x()), twipsFromPixels(position.y()));
  });
}

void Form::keyPressEvent(QKeyEvent* event) {
  CommandButton* cancel = controls_.cancelButton();
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancel != nullptr) {
    cancel->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace orvendale::ui
