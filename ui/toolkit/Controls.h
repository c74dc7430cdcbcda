#pragma once

// The controls a window description can name, as Qt widgets with the behaviour the windows
// rely on.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

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

// A repeating timer on a precise clock. Enabled with a non-zero interval it ticks once per
// interval; disabled or with interval 0 it is stopped. Enabled reads back as written.
class Timer {
 public:
  explicit Timer(QObject* parent);

  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  int interval() const { return interval_; }
  void setInterval(int milliseconds);

  // The Qt timer, for connecting its timeout() signal.
  QTimer& qtimer() { return *timer_; }

 private:
  void apply();

  QTimer* timer_;
  bool enabled_ = false;
  int interval_ = 0;
};

}  // namespace orvendale::ui
