#include "ui/toolkit/Form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "runtime/msgbox.h"
#include "ui/toolkit/Units.h"

namespace orvendale::ui {

namespace {
int g_loadedForms = 0;
std::function<void()> g_programEnd = [] { QCoreApplication::exit(0); };

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

void reportHandlerError(const char* handlerName, const char* message) {
  std::fprintf(stderr, "orvendale: %s: %s\n", handlerName, message);
  rtcMsgBox(message);
}

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

void applyColors(QWidget& widget, const ControlDescription& control) {
  QPalette palette = widget.palette();
  if (control.foreColor) {
    palette.setColor(QPalette::WindowText, toQColor(*control.foreColor));
  }
  if (control.backColor && control.backStyle == BackStyle::Opaque) {
    palette.setColor(QPalette::Window, toQColor(*control.backColor));
    widget.setAutoFillBackground(true);
  }
  widget.setPalette(palette);
}
}  // namespace

QFont toQFont(const FontSpec& wanted, const QFont& fallback) {
  QFont font = fallback;
  // Missing families are substituted by the system (Arial by a metric-compatible sans).
  font.setFamily(QString::fromUtf8(wanted.family));
  font.setPixelSize(static_cast<int>(std::lround(wanted.points * 4 / 3)));
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  return font;
}

Form::Form(const WindowDescription& description) : description_(description) {
  ++g_loadedForms;
  build(description);
}

Form::~Form() {
  if (loaded_) {
    --g_loadedForms;
  }
}

void Form::build(const WindowDescription& description) {
  setObjectName(QString::fromUtf8(description.name));
  setWindowTitle(QString::fromUtf8(description.caption));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, toQColor(description.backColor));
  setPalette(palette);
  setAutoFillBackground(true);
  if (description.font) {
    setFont(toQFont(*description.font, font()));
  }
  const QSize client(pixelsFromTwips(description.clientWidth),
                     pixelsFromTwips(description.clientHeight));
  if (description.resizable) {
    resize(client);
  } else {
    setFixedSize(client);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  }

  // Created from the back of the stacking order to the front: later widgets are drawn on top.
  std::vector<std::pair<int, QWidget*>> focusable;
  for (auto it = description.controls.rbegin(); it != description.controls.rend(); ++it) {
    const ControlDescription& control = *it;
    const QString caption = QString::fromUtf8(control.caption);
    QWidget* widget = nullptr;
    switch (control.kind) {
      case ControlKind::CommandButton: {
        auto* button = new CommandButton(
            caption, toQColor(control.backColor.value_or(Rgb{192, 192, 192})), this);
        button->setDefault(control.isDefault);
        if (control.cancel) {
          cancelButton_ = button;
        }
        focusable.emplace_back(control.tabIndex, button);
        widget = button;
        break;
      }
      case ControlKind::Label: {
        auto* label = new Label(caption, this);
        label->setAlignment(
            (control.alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) |
            Qt::AlignTop);
        widget = label;
        break;
      }
      case ControlKind::TextBox:
        widget = new TextBox(caption, this);
        if (control.visible) {
          focusable.emplace_back(control.tabIndex, widget);
        }
        break;
      case ControlKind::Shape:
        widget = new Shape(toQColor(control.backColor.value_or(Rgb{0, 0, 0})), this);
        break;
      case ControlKind::Timer: {
        Timer& timer = timers_.try_emplace(control.name, this).first->second;
        timer.setInterval(control.interval);
        timer.setEnabled(control.enabled);
        continue;
      }
    }
    widget->setObjectName(QString::fromUtf8(control.name));
    widget->setGeometry(pixelRect(control));
    if (control.font) {
      widget->setFont(toQFont(*control.font, font()));
    }
    applyColors(*widget, control);
    widget->setEnabled(control.enabled);
    widget->setVisible(control.visible);
    widgets_.emplace(control.name, widget);
  }

  std::sort(focusable.begin(), focusable.end());
  for (std::size_t i = 1; i < focusable.size(); ++i) {
    setTabOrder(focusable[i - 1].second, focusable[i].second);
  }
  if (!focusable.empty()) {
    focusable.front().second->setFocus();
  }
}

Timer& Form::timer(std::string_view name) const {
  const auto found = timers_.find(name);
  if (found == timers_.end()) {
    noSuchControl(name);
  }
  return const_cast<Timer&>(found->second);
}

void Form::noSuchControl(std::string_view name) const {
  qFatal("%s has no control named %.*s", qPrintable(objectName()), static_cast<int>(name.size()),
         name.data());
}

void Form::Show(const QWidget* owner) {
  if (!shownBefore_) {
    shownBefore_ = true;
    const bool onOwner = description_.startPosition == StartPosition::CenterOwner &&
                         owner != nullptr && owner->isVisible();
    if (onOwner) {
      frameCentrePending_ = owner->frameGeometry().center();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      frameCentrePending_ = screen->availableGeometry().center();
    }
    if (frameCentrePending_) {
      centreFrameOn(*frameCentrePending_);
    }
  }
  show();
}

void Form::centreFrameOn(QPoint centre) {
  QRect frame = frameGeometry();  // the client area alone while no frame is known
  frame.moveCenter(centre);
  move(frame.topLeft());  // a top-level window's position is its frame's
}

// A window manager adds the frame after the window is shown, and the window system then reports
// the window moved: centre again, now with the frame.
void Form::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (frameCentrePending_ && frameGeometry().size() != size()) {
    const QPoint centre = *frameCentrePending_;
    frameCentrePending_.reset();
    centreFrameOn(centre);
  }
}

void Form::Unload() {
  if (!loaded_) {
    return;
  }
  loaded_ = false;
  for (auto& [name, timer] : timers_) {
    timer.setEnabled(false);
  }
  hide();
  destroyWhenIdle();
  if (--g_loadedForms == 0 && g_programEnd) {
    g_programEnd();
  }
}

void Form::destroyWhenIdle() {
  if (!loaded_ && runningHandlers_ == 0) {
    deleteLater();
  }
}

void Form::setMousePointer(int pointer) {
  if (pointer == 11) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
  }
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

int Form::loadedFormCount() {
  return g_loadedForms;
}

void Form::setProgramEndHandler(std::function<void()> handler) {
  g_programEnd = std::move(handler);
}

void Form::handle(const char* handlerName, const std::function<void()>& handler) {
  {
    const CountedScope running(runningHandlers_);
    try {
      handler();
    } catch (const std::bad_alloc&) {
      // A literal: building the usual error object would allocate while memory is short.
      reportHandlerError(handlerName, "Error 7: Out of memory");
    } catch (const std::exception& error) {  // RuntimeError carries "Error <code>: <text>"
      reportHandlerError(handlerName, error.what());
    }
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
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
      cancelButton_ != nullptr) {
    cancelButton_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void Form::closeEvent(QCloseEvent* event) {
  event->accept();
  Unload();
}

}  // namespace orvendale::ui
