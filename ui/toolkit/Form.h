#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ui/toolkit/Controls.h"
#include "ui/toolkit/WindowControls.h"
#include "ui/toolkit/WindowDescription.h"

namespace orvendale::ui {

// A top-level window built from a WindowDescription. Its members are defined by job:
// FormLife.cpp (loading, showing, unloading, the program's end) and FormInput.cpp (input turned
// into handler calls); WindowControls.cpp builds the look and the controls.
//
// A form is loaded from construction until Unload(). Unload hides it at once and stops its
// timers; the object itself is destroyed only once none of its event handlers is running, so a
// handler that is still on the stack (a benchmark run that pumps events, say) unwinds safely.
// The program ends when no form is loaded any more.
class Form : public QWidget {
 public:
  explicit Form(const WindowDescription& description);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Shows the window modeless, without an owner. The first time it is placed at its start
  // position: centred on the screen, or on `owner` when it starts centred on its owner and
  // `owner` is shown. What is centred is what the user sees: the frame, title bar included, once
  // the window system reports it.
  void Show(const QWidget* owner = nullptr);
  void Unload();
  bool isLoaded() const { return loaded_; }

  // 11 shows the busy pointer over the window, 0 restores the default.
  void setMousePointer(int pointer);

  // Shows the named menu's items at the mouse pointer. Returns after the menu has closed and,
  // if an item was chosen, after that item's handler has run.
  void PopupMenu(std::string_view menuName);

  // The window's controls by name; the kind must match the description.
  CommandButton& button(std::string_view name) const { return controls_.find<CommandButton>(name); }
  Label& label(std::string_view name) const { return controls_.find<Label>(name); }
  TextBox& textBox(std::string_view name) const { return controls_.find<TextBox>(name); }
  Timer& timer(std::string_view name) const { return controls_.timer(name); }

  // The forms loaded now: shown or hidden, not yet unloaded.
  static int loadedFormCount();
  // Called when the last loaded form is unloaded; by default it ends the event loop. The
  // application object holds it.
  static void setProgramEndHandler(std::function<void()> handler);

 protected:
  // Runs an event handler of this form. An error that escapes it is reported (message box and
  // stderr) and the program goes on; the form is not destroyed while the handler runs.
  void handle(const char* handlerName, const std::function<void()>& handler);

  void onClick(std::string_view buttonName, const char* handlerName, std::function<void()> handler);
  void onTimer(std::string_view timerName, const char* handlerName, std::function<void()> handler);
  void onMenuItem(std::string_view itemName, const char* handlerName,
                  std::function<void()> handler);

  // A mouse press on the window's own surface (not on a button or label). Button: 1 left,
  // 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X, Y in twips.
  virtual void Form_MouseDown(int Button, int Shift, float X, float Y);

  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  struct MenuItemHandler {
    const char* handlerName;
    std::function<void()> handler;
  };

  void destroyWhenIdle();
  void centreFrameOn(QPoint centre);

  const WindowDescription& description_;
  WindowControls controls_;
  std::map<std::string, MenuItemHandler, std::less<>> menuHandlers_;
  bool loaded_ = true;
  bool shownBefore_ = false;
  // Where the frame's centre belongs until the window system has reported the frame.
  std::optional<QPoint> frameCentrePending_;
  int runningHandlers_ = 0;
};

// The one default instance of a window class: created on first use, and created again on the
// first use after it was unloaded.
template <class T>
T& defaultInstance() {
  static QPointer<T> instance;
  if (instance.isNull() || !instance->isLoaded()) {
    instance = new T;
  }
  return *instance;
}

}  // namespace orvendale::ui
