#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <cmath>

#include "ui/toolkit/WindowDescription.h"

namespace orvendale::ui {

constexpr int kTwipsPerPixel = 15;

// Logical pixels; Qt's high-DPI scaling maps them to the screen.
inline int pixelsFromTwips(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}
inline float twipsFromPixels(double pixels) {
  return static_cast<float>(pixels * kTwipsPerPixel);
}

inline QRect pixelRect(const ControlDescription& control) {
  return {pixelsFromTwips(control.left), pixelsFromTwips(control.top),
          pixelsFromTwips(control.width), pixelsFromTwips(control.height)};
}

inline QColor toQColor(Rgb rgb) {
  return {rgb.red, rgb.green, rgb.blue};
}

// A point is 20 twips, so a font's size in logical pixels is points x 4 / 3.
QFont toQFont(const FontSpec& wanted, const QFont& fallback);

}  // namespace orvendale::ui
