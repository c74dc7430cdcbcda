#include "ui/toolkit/Controls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace orvendale::ui {

CommandButton::CommandButton(const QString& caption, QColor face, QWidget* parent)
    : QPushButton(caption, parent), face_(face) {
  setAutoDefault(true);  // Enter clicks the focused button, as Space does
}

void CommandButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = rect();
  painter.fillRect(area, face_);

  // Two-pixel bevel: light above and left, dark below and right; inverted while pressed.
  const bool down = isDown();
  const QColor light = down ? QColor(64, 64, 64) : QColor(255, 255, 255);
  const QColor dark = down ? QColor(255, 255, 255) : QColor(64, 64, 64);
  const QColor lightInner = down ? QColor(128, 128, 128) : face_.lighter(120);
  const QColor darkInner = down ? face_.lighter(120) : QColor(128, 128, 128);
  const auto bevel = [&](int inset, QColor topLeft, QColor bottomRight) {
    const QRect r = area.adjusted(inset, inset, -inset - 1, -inset - 1);
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
  };
  bevel(0, light, dark);
  bevel(1, lightInner, darkInner);

  const QRect textArea = area.adjusted(3, 3, -3, -3).translated(down ? 1 : 0, down ? 1 : 0);
  painter.setPen(palette().color(QPalette::ButtonText));
  painter.drawText(textArea, Qt::AlignCenter | Qt::TextWordWrap, text());

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = area.adjusted(4, 4, -4, -4);
    focus.backgroundColor = face_;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

void CommandButton::mousePressEvent(QMouseEvent* event) {
  QPushButton::mousePressEvent(event);
  event->accept();
}

Label::Label(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(true);
}

void Label::mousePressEvent(QMouseEvent* event) {
  event->accept();
}

TextBox::TextBox(const QString& text, QWidget* parent) : QLineEdit(text, parent) {}

Shape::Shape(QColor fill, QWidget* parent) : QWidget(parent), fill_(fill) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Shape::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), fill_);
}

}  // namespace orvendale::ui
