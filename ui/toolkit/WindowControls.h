#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "ui/toolkit/Controls.h"
#include "ui/toolkit/WindowDescription.h"

namespace orvendale::ui {

// A window's look and controls, made from its description when the window is built, and its
// controls found again by name.
class WindowControls {
 public:
  // Gives `window` the description's title, colours, font and size, and creates its controls
  // as its children, in tab order, the first focusable one focused.
  WindowControls(QWidget& window, const WindowDescription& description);

  // The kind must match the description.
  template <class T>
  T& find(std::string_view name) const {
    const auto found = widgets_.find(name);
    if (found == widgets_.end()) {
      noSuchControl(name);
    }
    return dynamic_cast<T&>(*found->second);
  }
  Timer& timer(std::string_view name) const;
  // The button that Esc clicks, if the window has one.
  CommandButton* cancelButton() const { return cancelButton_; }
  void disableTimers();

 private:
  // The control's widget, made a child of `window`; null for a timer, which has none.
  QWidget* createControl(QWidget& window, const ControlDescription& control);
  CommandButton* createButton(QWidget& window, const ControlDescription& control,
                              const QString& caption);
  void addTimer(QWidget& window, const ControlDescription& control);
  // A name missing from the window's description is a programming error: stops the program.
  [[noreturn]] void noSuchControl(std::string_view name) const;

  const char* windowName_;
  std::map<std::string, QWidget*, std::less<>> widgets_;
  std::map<std::string, Timer, std::less<>> timers_;
  CommandButton* cancelButton_ = nullptr;
};

}  // namespace orvendale::ui
