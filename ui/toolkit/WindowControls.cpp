#include "ui/toolkit/WindowControls.h"

#include <QtGlobal>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/toolkit/Units.h"

namespace orvendale::ui {

namespace {
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

void applyWindowLook(QWidget& window, const WindowDescription& description) {
  window.setObjectName(QString::fromUtf8(description.name));
  window.setWindowTitle(QString::fromUtf8(description.caption));
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, toQColor(description.backColor));
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  if (description.font) {
    window.setFont(toQFont(*description.font, window.font()));
  }
  const QSize client(pixelsFromTwips(description.clientWidth),
                     pixelsFromTwips(description.clientHeight));
  if (description.resizable) {
    window.resize(client);
  } else {
    window.setFixedSize(client);
    window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  }
}

Label* createLabel(QWidget& window, const ControlDescription& control, const QString& caption) {
  auto* label = new Label(caption, &window);
  label->setAlignment((control.alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) |
                      Qt::AlignTop);
  return label;
}

// What every widget takes from its description, whatever its kind.
void applyControlLook(QWidget& widget, const QWidget& window, const ControlDescription& control) {
  widget.setObjectName(QString::fromUtf8(control.name));
  widget.setGeometry(pixelRect(control));
  if (control.font) {
    widget.setFont(toQFont(*control.font, window.font()));
  }
  applyColors(widget, control);
  widget.setEnabled(control.enabled);
  widget.setVisible(control.visible);
}

// Buttons and shown text boxes take the focus; labels and shapes never do.
bool takesFocus(const ControlDescription& control) {
  return control.kind == ControlKind::CommandButton ||
         (control.kind == ControlKind::TextBox && control.visible);
}

// Chains the widgets in the order of their tab indexes and focuses the first.
void focusInTabOrder(std::vector<std::pair<int, QWidget*>> focusable) {
  std::sort(focusable.begin(), focusable.end());
  for (std::size_t i = 1; i < focusable.size(); ++i) {
    QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
  }
  if (!focusable.empty()) {
    focusable.front().second->setFocus();
  }
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

WindowControls::WindowControls(QWidget& window, const WindowDescription& description)
    : windowName_(description.name) {
  applyWindowLook(window, description);

  // Created from the back of the stacking order to the front: later widgets are drawn on top.
  std::vector<std::pair<int, QWidget*>> focusable;
  for (auto it = description.controls.rbegin(); it != description.controls.rend(); ++it) {
    const ControlDescription& control = *it;
    QWidget* widget = createControl(window, control);
    if (widget == nullptr) {
      continue;
    }
    applyControlLook(*widget, window, control);
    widgets_.emplace(control.name, widget);
    if (takesFocus(control)) {
      focusable.emplace_back(control.tabIndex, widget);
    }
  }
  focusInTabOrder(std::move(focusable));
}

QWidget* WindowControls::createControl(QWidget& window, const ControlDescription& control) {
  const QString caption = QString::fromUtf8(control.caption);
  switch (control.kind) {
    case ControlKind::CommandButton:
      return createButton(window, control, caption);
    case ControlKind::Label:
      return createLabel(window, control, caption);
    case ControlKind::TextBox:
      return new TextBox(caption, &window);
    case ControlKind::Shape:
      return new Shape(toQColor(control.backColor.value_or(Rgb{0, 0, 0})), &window);
    case ControlKind::Timer:
      addTimer(window, control);
      break;
  }
  return nullptr;
}

CommandButton* WindowControls::createButton(QWidget& window, const ControlDescription& control,
                                            const QString& caption) {
  auto* button =
      new CommandButton(caption, toQColor(control.backColor.value_or(Rgb{192, 192, 192})), &window);
  button->setDefault(control.isDefault);
  if (control.cancel) {
    cancelButton_ = button;
  }
  return button;
}

void WindowControls::addTimer(QWidget& window, const ControlDescription& control) {
  Timer& timer = timers_.try_emplace(control.name, &window).first->second;
  timer.setInterval(control.interval);
  timer.setEnabled(control.enabled);
}

Timer& WindowControls::timer(std::string_view name) const {
  const auto found = timers_.find(name);
  if (found == timers_.end()) {
    noSuchControl(name);
  }
  return const_cast<Timer&>(found->second);
}

void WindowControls::disableTimers() {
  for (auto& [name, timer] : timers_) {
    timer.setEnabled(false);
  }
}

void WindowControls::noSuchControl(std::string_view name) const {
  qFatal("%s has no control named %.*s", windowName_, static_cast<int>(name.size()), name.data());
}

}  // namespace orvendale::ui
