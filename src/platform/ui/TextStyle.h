#pragma once
// The font of a control that shows text: kept by the control, shown by its
// widget while there is one.
#include <string>

#include "platform/ui/DeclaredProperties.h"

class QWidget;

struct TextStyle {
  std::string font = "System";  // "System" or "": the platform's default font
  float size = 0;               // 0: the platform's default size
  bool bold = false, italic = false, underline = false;
};

// Gives the widget the style's font; does nothing without a widget.
void ShowTextStyle(QWidget* widget, const TextStyle& style);

// TextFont, TextSize, Bold, Italic and Underline of a control class.
template <class Control>
class TextStyled {
 public:
  const std::string& TextFont() const { return style_.font; }
  void TextFont(const std::string& name) { style_.font = name; Show(); }
  float TextSize() const { return style_.size; }
  void TextSize(float size) { style_.size = size; Show(); }
  bool Bold() const { return style_.bold; }
  void Bold(bool value) { style_.bold = value; Show(); }
  bool Italic() const { return style_.italic; }
  void Italic(bool value) { style_.italic = value; Show(); }
  bool Underline() const { return style_.underline; }
  void Underline(bool value) { style_.underline = value; Show(); }

 protected:
  // The style's entries in the control's form property lists.
  static PropertyDeclarations TextStyleDeclarations() {
    return {StringProperty<Control>("TextFont", &Control::TextFont),
            BooleanProperty<Control>("Bold", &Control::Bold),
            BooleanProperty<Control>("Italic", &Control::Italic),
            BooleanProperty<Control>("Underline", &Control::Underline)};
  }

 private:
  void Show() { ShowTextStyle(static_cast<Control*>(this)->Widget(), style_); }
  TextStyle style_;
};
