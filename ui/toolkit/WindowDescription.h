#pragma once

// Declarative descriptions of windows: every property a window and its controls start with,
// as plain data. Form builds the Qt widgets from them.
//
// Positions and sizes are in twips relative to the client area (15 twips make one logical
// pixel); font sizes in points; colours as 0..255 components.

#include <optional>
#include <vector>

namespace orvendale::ui {

struct Rgb {
  int red;
  int green;
  int blue;
};

struct FontSpec {
  const char* family;
  double points;
  int charset = 0;  // kept from the window design; fonts fall back when the family is missing
};

enum class ControlKind { CommandButton, Label, TextBox, Shape, Timer };
enum class Alignment { Left, Center };
enum class BackStyle { Transparent, Opaque };

struct ControlDescription {
  ControlKind kind;
  const char* name;
  const char* caption = "";  // button or label caption, text box text
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::optional<Rgb> foreColor = std::nullopt;  // text colour; the platform default when empty
  std::optional<Rgb> backColor =
      std::nullopt;  // button face, opaque label background or rectangle fill
  BackStyle backStyle = BackStyle::Opaque;
  std::optional<FontSpec> font = std::nullopt;  // the window font when empty
  Alignment alignment = Alignment::Left;
  int tabIndex = -1;
  bool visible = true;
  bool enabled = true;
  int interval = 0;        // timers: milliseconds
  bool cancel = false;     // buttons: Esc clicks it
  bool isDefault = false;  // buttons: Enter clicks it wherever the focus is
};

struct MenuItemDescription {
  const char* name;
  const char* caption;
};

// A top-level menu. An invisible one is never shown in a menu bar; it serves as a popup menu.
struct MenuDescription {
  const char* name;
  const char* caption;
  bool visible;
  std::vector<MenuItemDescription> items;
};

enum class StartPosition { CenterScreen, CenterOwner };

struct WindowDescription {
  const char* name;
  const char* caption;
  Rgb backColor;
  int clientWidth;
  int clientHeight;
  bool resizable;
  StartPosition startPosition;
  std::optional<FontSpec> font = std::nullopt;  // the platform's default font when empty
  std::vector<ControlDescription> controls =
      {};  // from the front of the stacking order to the back
  std::vector<MenuDescription> menus = {};
};

}  // namespace orvendale::ui
