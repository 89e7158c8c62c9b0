#pragma once
// The framework's control classes.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/Event.h"
#include "platform/ui/RectControl.h"
#include "platform/ui/TextStyle.h"

class DragItem;
class Picture;

// A filled rectangle with a two-colour frame.
class Rectangle : public RectControl {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Constructor() override;
  void FillColor(int32_t rgb);
  void BorderWidth(int32_t width);
  void TopLeftColor(int32_t rgb);
  void BottomRightColor(int32_t rgb);
  int32_t FillColor() const { return fill_; }
  int32_t BorderWidth() const { return border_; }
  int32_t TopLeftColor() const { return topLeft_; }
  int32_t BottomRightColor() const { return bottomRight_; }

 protected:
  const PropertyDeclarations& Declarations() const override;

 private:
  int32_t fill_ = 0xFFFFFF, border_ = 1, topLeft_ = 0, bottomRight_ = 0;
};

// A text in a box.
class Label : public RectControl, public TextStyled<Label> {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Constructor() override;
  const std::string& Text() const { return text_; }
  void Text(const std::string& text);
  int32_t TextAlign() const { return align_; }
  void TextAlign(int32_t align);  // 0 left, 1 centre, 2 right
  int32_t TextColor() const { return color_; }
  void TextColor(int32_t rgb);
  void MultiLine(bool value);  // wraps the text at the box's width

 protected:
  const PropertyDeclarations& Declarations() const override;

 private:
  std::string text_;
  int32_t align_ = 0, color_ = 0;
};

class StaticText : public Label {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
};

// A one-line text field; Mask "#" admits digits, "a" letters and digits.
class TextField : public RectControl, public TextStyled<TextField> {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Constructor() override;
  std::string Text() const;
  void Text(const std::string& text);
  const std::string& Mask() const { return mask_; }
  void Mask(const std::string& mask);
  int32_t LimitText() const { return limit_; }
  void LimitText(int32_t count);
  void SelectAll();
  std::string SelText() const;
  void TextColor(int32_t rgb);
  void BackColor(int32_t rgb);
  void Border(bool value);
  void Password(bool value);
  void ReadOnly(bool value);
  void CueText(const std::string& text);
  void Alignment(int32_t alignment);  // 0 the default (left), 1 left, 2 centre, 3 right
  void TextUnit(int32_t unit) { textUnit_ = unit; }
  int32_t TextUnit() const { return textUnit_; }

  EventSlot<TextField, void> TextChange;
  EventSlot<TextField, bool, std::string> KeyDown;  // True consumes the key

 protected:
  const PropertyDeclarations& Declarations() const override;

 private:
  void UpdateValidator();
  std::string mask_, text_, selText_;  // the texts as last seen on the widget
  int32_t limit_ = 0, textUnit_ = 0;
};

class CheckBox : public RectControl, public TextStyled<CheckBox> {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Constructor() override;
  const std::string& Caption() const { return caption_; }
  void Caption(const std::string& text);
  bool Value() const;
  void Value(bool ticked);
  void State(int32_t state);  // 0 unchecked, 1 checked, 2 indeterminate
  void TextUnit(int32_t unit) { textUnit_ = unit; }
  int32_t TextUnit() const { return textUnit_; }

  EventSlot<CheckBox, void> Action;

 protected:
  const PropertyDeclarations& Declarations() const override;

 private:
  std::string caption_;
  int32_t state_ = 0;  // as last seen on the widget
  int32_t textUnit_ = 0;
};

// A pop-up menu of text rows; InitialValue holds the rows joined by "\r".
class PopupMenu : public RectControl, public TextStyled<PopupMenu> {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Constructor() override;
  void InitialValue(const std::string& rows);
  int32_t ListIndex() const;
  void ListIndex(int32_t row);
  int32_t ListCount() const;
  // The row's text, or "" for a row outside the list.
  std::string List(int32_t row) const;
  // The selected row's text.
  std::string Text() const;
  void TextUnit(int32_t unit) { textUnit_ = unit; }
  int32_t TextUnit() const { return textUnit_; }

  EventSlot<PopupMenu, void> Change;

 protected:
  const PropertyDeclarations& Declarations() const override;

 private:
  std::vector<std::string> rows_;
  int32_t index_ = -1;  // as last seen on the widget
  int32_t textUnit_ = 0;
};

class PushButton : public RectControl, public TextStyled<PushButton> {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Constructor() override;
  const std::string& Caption() const { return caption_; }
  void Caption(const std::string& text);
  void Default(bool value);
  void TextUnit(int32_t unit) { textUnit_ = unit; }
  int32_t TextUnit() const { return textUnit_; }
  // Presses the button as a click does.
  void Push();

  EventSlot<PushButton, void> Action;

 protected:
  const PropertyDeclarations& Declarations() const override;

 private:
  std::string caption_;
  int32_t textUnit_ = 0;
};

// A drawing area with a backdrop picture; mouse and drop events.
class Canvas : public RectControl {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Constructor() override;
  void RaiseOpen() override;
  const Ref<Picture>& Backdrop() const { return backdrop_; }
  void Backdrop(const Ref<Picture>& picture);
  // Accepts drops of files of the listed types ("name;" each); "special/any"
  // accepts every file.
  void AcceptFileDrop(const std::string& typeList);
  const std::vector<std::string>& AcceptedFileTypes() const { return accepted_; }

  EventSlot<Canvas, bool, int32_t, int32_t> MouseDown;  // True claims the click
  EventSlot<Canvas, void, int32_t, int32_t> MouseUp;
  EventSlot<Canvas, void> Open;
  EventSlot<Canvas, void, Ref<DragItem>, int32_t> DropObject;

  // Called by the platform widget.
  bool AcceptsDrop(const std::vector<std::string>& paths) const;

 protected:
  const PropertyDeclarations& Declarations() const override;

 private:
  Ref<Picture> backdrop_;
  std::vector<std::string> accepted_;
};

// A line between two points of the window.
class Line : public RectControl {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  void Constructor() override;
  void X1(int32_t v);
  void X2(int32_t v);
  void Y1(int32_t v);
  void Y2(int32_t v);
  void BorderWidth(int32_t v);
  void LineColor(int32_t rgb);
  int32_t X1() const { return x1_; }
  int32_t X2() const { return x2_; }
  int32_t Y1() const { return y1_; }
  int32_t Y2() const { return y2_; }
  int32_t LineColor() const { return color_; }
  int32_t BorderWidth() const { return width_; }

 protected:
  const PropertyDeclarations& Declarations() const override;

 private:
  void Place();
  int32_t x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0, width_ = 1, color_ = 0;
};

// What a drop carries; the first item is the one presented.
class DragItem : public Object {
 public:
  explicit DragItem(std::vector<std::string> paths) : paths_(std::move(paths)) {}
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  bool FolderItemAvailable() const;
  Ref<class FolderItem> FolderItem() const;

 private:
  std::vector<std::string> paths_;
};
