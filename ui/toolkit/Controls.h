#pragma once

// The controls a window description can name, as Qt widgets with the behaviour the windows
// rely on.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "platform/Timer.h"

namespace orvendale::ui {

// A command button in graphical style: its face is painted in its own colour with a raised
// bevel, whatever the desktop's style. Enter and Space on the focused button click it. It takes
// presses of every mouse button, so none reaches the window below.
class CommandButton : public QPushButton {
 public:
  CommandButton(const QString& caption, QColor face, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QColor face_;
};

// A label: plain text wrapped at word boundaries and line feeds, clipped at its bottom edge.
// It takes mouse presses itself, so a press on a label never reaches the window.
class Label : public QLabel {
 public:
  Label(const QString& caption, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

// A text box.
class TextBox : public QLineEdit {
 public:
  TextBox(const QString& text, QWidget* parent);
};

// A solid rectangle with no outline. It takes no mouse input: presses go to what lies below.
class Shape : public QWidget {
 public:
  Shape(QColor fill, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor fill_;
};

// The run timer is shared with the program without a window; windows name it among their
// controls.
using platform::Timer;

}  // namespace orvendale::ui
