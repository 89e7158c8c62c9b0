#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/properties/FormPropertyList.h"
#include "platform/runtime/Exceptions.h"
#include "ui/AboutPropertyLists.h"
#include "ui/Window1PropertyLists.h"

namespace {

using Names = std::vector<std::string>;

const Names kWindowNames = {"Placement", "Width", "Height", "MinWidth", "MinHeight", "MaxWidth", "MaxHeight",
                            "Frame", "Composite", "HasBackColor", "BackColor", "Title", "Visible", "FullScreen",
                            "MenuBarVisible", "CloseButton", "Resizeable", "LiveResize", "MaximizeButton",
                            "MinimizeButton", "MacProcID"};
const Names kRectangleNames = {"Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop",
                               "LockRight", "LockBottom", "TabIndex", "TabPanelIndex", "Visible", "HelpTag",
                               "AutoDeactivate", "Enabled", "FillColor", "BorderWidth", "TopLeftColor",
                               "BottomRightColor", "InitialParent"};
const Names kStaticTextNames = {"Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop",
                                "LockRight", "LockBottom", "TabPanelIndex", "TabIndex", "TabStop",
                                "InitialParent", "Visible", "HelpTag", "AutoDeactivate", "Enabled", "Text",
                                "TextAlign", "TextColor", "Multiline", "Selectable", "Transparent", "TextFont",
                                "Bold", "Italic", "Underline", "DataSource", "DataField"};
const Names kTextFieldNames = {"Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop",
                               "LockRight", "LockBottom", "TabPanelIndex", "TabIndex", "TabStop", "Border",
                               "Password", "UseFocusRing", "TextColor", "BackColor", "Enabled", "Format",
                               "Visible", "HelpTag", "AutoDeactivate", "TextFont", "Bold", "Italic", "Underline",
                               "CueText", "Text", "Mask", "ReadOnly", "LimitText", "AcceptTabs", "Alignment",
                               "DataSource", "DataField", "InitialParent"};
const Names kCheckBoxNames = {"Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop",
                              "LockRight", "LockBottom", "TabPanelIndex", "TabIndex", "TabStop", "Caption",
                              "Enabled", "Visible", "HelpTag", "AutoDeactivate", "TextFont", "Bold", "Italic",
                              "Underline", "State", "Value", "DataSource", "DataField", "InitialParent"};
const Names kPopupMenuNames = {"Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop",
                               "LockRight", "LockBottom", "TabPanelIndex", "TabIndex", "TabStop", "Enabled",
                               "InitialValue", "ListIndex", "Visible", "HelpTag", "AutoDeactivate", "TextFont",
                               "Bold", "Italic", "Underline", "DataSource", "DataField", "InitialParent"};
const Names kPushButtonNames = {"Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop",
                                "LockRight", "LockBottom", "TabPanelIndex", "TabIndex", "TabStop", "Caption",
                                "Default", "Cancel", "Enabled", "Visible", "HelpTag", "AutoDeactivate",
                                "ButtonStyle", "TextFont", "Bold", "Italic", "Underline", "InitialParent"};
const Names kCanvasNames = {"Name", "Index", "Left", "Top", "Width", "Height", "LockLeft", "LockTop",
                            "LockRight", "LockBottom", "TabPanelIndex", "TabIndex", "TabStop", "Visible",
                            "HelpTag", "AutoDeactivate", "Enabled", "UseFocusRing", "AcceptFocus", "AcceptTabs",
                            "DoubleBuffer", "EraseBackground", "InitialParent"};
const Names kLineNames = {"Name", "Index", "Top", "Left", "Width", "Height", "X1", "X2",
                          "Y1", "Y2", "TabPanelIndex", "Visible", "BorderWidth", "LineColor", "InitialParent"};

PropertyEntry Int(std::string name, int32_t v) { return {std::move(name), PropertyValue::Int(v)}; }
PropertyEntry Bool(std::string name, bool v) { return {std::move(name), PropertyValue::Bool(v)}; }
PropertyEntry Color(std::string name, uint32_t rgb) { return {std::move(name), PropertyValue::Color(rgb)}; }
PropertyEntry Text(std::string name, std::string v) { return {std::move(name), PropertyValue::Text(std::move(v))}; }

std::vector<PropertyEntry> Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {Int("Left", left), Int("Top", top), Int("Width", width), Int("Height", height)};
}

std::vector<PropertyEntry> Plus(std::vector<PropertyEntry> a, const std::vector<PropertyEntry>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct ListCase {
  const char* owner;
  const FormPropertyList& (*list)();
  size_t bytes;
  const Names* names;
  bool isControl;
  // The values that set this object apart from the others of its kind.
  std::vector<PropertyEntry> values;
};

std::vector<ListCase> AllLists() {
  namespace W = Window1PropertyLists;
  namespace A = AboutPropertyLists;
  return {
      {"Window1", W::Window1, 272, &kWindowNames, false,
       {Int("Width", 600), Int("Height", 437), Bool("Composite", true), Text("Title", "Vamor"),
        Bool("MinimizeButton", true), Bool("Resizeable", false), Color("BackColor", 0xFFFFFF)}},
      {"Rectangle1", W::Rectangle1, 269, &kRectangleNames, true,
       Plus(Bounds(-1, -1, 602, 316), {Int("TabIndex", 15), Bool("LockBottom", true), Color("TopLeftColor", 0x808080)})},
      {"txtTime", W::txtTime, 355, &kStaticTextNames, true,
       Plus(Bounds(413, 333, 167, 20), {Int("TabIndex", 2), Text("Text", ""), Int("TextAlign", 2),
                                        Color("TextColor", 0x666666)})},
      {"txtHeight", W::txtHeight, 478, &kTextFieldNames, true,
       Plus(Bounds(269, 332, 110, 22), {Int("TabIndex", 3), Bool("Enabled", true), Text("Format", "#####"),
                                        Text("HelpTag", "Height of each tile, in pixels."), Text("Text", "100"),
                                        Text("Mask", "#####"), Int("LimitText", 5)})},
      {"StaticText2", W::StaticText2, 366, &kStaticTextNames, true,
       Plus(Bounds(207, 333, 50, 20), {Int("TabIndex", 4), Text("Text", "Height:"), Int("TextAlign", 0)})},
      {"StaticText3", W::StaticText3, 366, &kStaticTextNames, true,
       Plus(Bounds(20, 366, 53, 20), {Int("TabIndex", 5), Text("Text", "Format:"), Color("TextColor", 0)})},
      {"StaticText1", W::StaticText1, 365, &kStaticTextNames, true,
       Plus(Bounds(20, 333, 50, 20), {Int("TabIndex", 6), Text("Text", "Width:"), Bool("Bold", false)})},
      {"txtWidth", W::txtWidth, 476, &kTextFieldNames, true,
       Plus(Bounds(82, 332, 110, 22), {Int("TabIndex", 7), Text("HelpTag", "Width of each tile, in pixels."),
                                       Text("Text", "100"), Int("LimitText", 5)})},
      {"CustomCheck", W::CustomCheck, 333, &kCheckBoxNames, true,
       Plus(Bounds(20, 397, 148, 20), {Int("TabIndex", 8), Text("Caption", "Custom Extension:"),
                                       Bool("Value", false), Int("State", 0)})},
      {"formatMenu", W::formatMenu, 477, &kPopupMenuNames, true,
       Plus(Bounds(82, 365, 297, 20), {Int("TabIndex", 9), Int("ListIndex", 0)})},
      {"ExtensionText", W::ExtensionText, 445, &kTextFieldNames, true,
       Plus(Bounds(168, 396, 211, 22), {Int("TabIndex", 10), Bool("Enabled", false), Text("Format", ""),
                                        Text("Text", "jpg"), Text("Mask", "aaaa"), Int("LimitText", 4)})},
      {"QualityText", W::QualityText, 367, &kStaticTextNames, true,
       Plus(Bounds(413, 366, 87, 20), {Int("TabIndex", 11), Text("Text", "Quality:")})},
      {"QualityMenu", W::QualityMenu, 365, &kPopupMenuNames, true,
       Plus(Bounds(468, 365, 112, 20), {Int("TabIndex", 12), Int("ListIndex", 7)})},
      {"SaveButton", W::SaveButton, 315, &kPushButtonNames, true,
       Plus(Bounds(413, 397, 167, 20), {Int("TabIndex", 13), Text("Caption", "Save Tiles..."),
                                        Bool("Enabled", false), Bool("Default", false)})},
      {"Canvas1", W::Canvas1, 280, &kCanvasNames, true,
       Plus(Bounds(31, 22, 538, 284), {Int("TabIndex", 14), Bool("UseFocusRing", true),
                                       Bool("AcceptFocus", false), Bool("EraseBackground", true)})},
      {"Line1", W::Line1, 164, &kLineNames, true,
       Plus(Bounds(-28, 317, 100, 50), {Int("X1", -28), Int("X2", 628), Int("Y1", 315), Int("Y2", 315),
                                        Color("LineColor", 0xFFFFFF)})},
      {"About", A::About, 278, &kWindowNames, false,
       {Int("Width", 300), Int("Height", 91), Bool("Composite", false), Text("Title", "About Vamor"),
        Bool("MinimizeButton", false), Bool("MaximizeButton", false)}},
      {"StaticText1", A::StaticText1, 364, &kStaticTextNames, true,
       Plus(Bounds(20, 14, 260, 44), {Int("TabIndex", 0), Text("Text", "Vamor"), Int("TextAlign", 1),
                                      Color("TextColor", 0x000000), Bool("Bold", true)})},
      {"StaticText2", A::StaticText2, 377, &kStaticTextNames, true,
       Plus(Bounds(20, 51, 260, 20), {Int("TabIndex", 1), Text("Text", "Korvath Vamor v1.2"), Int("TextAlign", 1),
                                      Color("TextColor", 0x666666), Bool("Bold", false)})},
  };
}

const PropertyValue* Find(const std::vector<PropertyEntry>& entries, const std::string& name) {
  auto it = std::ranges::find(entries, name, &PropertyEntry::name);
  return it == entries.end() ? nullptr : &it->value;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out.push_back(static_cast<char>(b));
  return out;
}

std::vector<std::string> SplitRows(const std::string& text) {
  std::vector<std::string> rows(1);
  for (char c : text) {
    if (c == '\r') rows.emplace_back();
    else rows.back() += c;
  }
  return rows;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

// A target with its own spelling of the property names; it records each
// property it is given under that spelling, in order.
class RecordingTarget : public PropertyTarget {
 public:
  explicit RecordingTarget(const Names& declared) {
    for (const std::string& name : declared) declared_.push_back({name, *StandardPropertyType(name)});
  }

  std::optional<PropertyType> PropertyTypeOf(std::string_view name) const override {
    const Declared* found = Lookup(name);
    return found ? std::optional(found->type) : std::nullopt;
  }

  void SetProperty(std::string_view name, const PropertyValue& value) override {
    set.push_back({Lookup(name)->name, value});
  }

  std::vector<PropertyEntry> set;

 private:
  struct Declared {
    std::string name;
    PropertyType type;
  };

  const Declared* Lookup(std::string_view name) const {
    auto it = std::ranges::find_if(declared_, [&](const Declared& d) { return SameIgnoringCase(d.name, name); });
    return it == declared_.end() ? nullptr : &*it;
  }

  std::vector<Declared> declared_;
};

// The spelling of the framework classes, where it differs from the lists'.
std::string Respelled(const std::string& name) {
  if (name == "MacProcID") return "MacProcId";
  if (name == "Multiline") return "MultiLine";
  return name;
}

Names Respelled(const Names& names) {
  Names out;
  for (const std::string& name : names) out.push_back(Respelled(name));
  return out;
}

TEST(FormPropertyLists, EachListHasItsByteCountAndKindOrderAndValues) {
  for (const ListCase& c : AllLists()) {
    SCOPED_TRACE(c.owner);
    const FormPropertyList& list = c.list();
    EXPECT_EQ(list.size(), c.bytes);

    std::vector<PropertyEntry> entries = DecodeFormPropertyList(list, StandardPropertyType);
    Names names;
    for (const PropertyEntry& e : entries) names.push_back(e.name);
    EXPECT_EQ(names, *c.names);
    EXPECT_EQ(EncodeFormPropertyList(entries), list);

    for (const PropertyEntry& expected : c.values) {
      const PropertyValue* actual = Find(entries, expected.name);
      ASSERT_NE(actual, nullptr) << expected.name;
      EXPECT_EQ(*actual, expected.value) << expected.name;
    }
    if (c.isControl) {
      EXPECT_EQ(*Find(entries, "Name"), PropertyValue::Text(c.owner));
      EXPECT_EQ(*Find(entries, "Index"), PropertyValue::Int(INT32_MIN));
      EXPECT_EQ(*Find(entries, "TabPanelIndex"), PropertyValue::Int(0));
      EXPECT_EQ(*Find(entries, "InitialParent"), PropertyValue::Text(""));
    }
  }
}

TEST(FormPropertyLists, ApplyingSetsEveryEntryInOrderUnderTheTargetsSpelling) {
  for (const ListCase& c : AllLists()) {
    SCOPED_TRACE(c.owner);
    RecordingTarget target(Respelled(*c.names));
    SetProperties_(target, c.list());
    std::vector<PropertyEntry> expected = DecodeFormPropertyList(c.list(), StandardPropertyType);
    for (PropertyEntry& e : expected) e.name = Respelled(e.name);
    EXPECT_EQ(target.set, expected);
  }
}

TEST(FormPropertyLists, CaseDiffersFromTheDeclaredNames) {
  RecordingTarget window(Respelled(kWindowNames));
  SetProperties_(window, Window1PropertyLists::Window1());
  EXPECT_EQ(window.set.back(), Int("MacProcId", 0));

  RecordingTarget label(Respelled(kStaticTextNames));
  SetProperties_(label, Window1PropertyLists::txtTime());
  EXPECT_NE(std::ranges::find(label.set, Bool("MultiLine", false)), label.set.end());

  EXPECT_EQ(StandardPropertyType("MacProcId"), PropertyType::Integer);
  EXPECT_EQ(StandardPropertyType("MULTILINE"), PropertyType::Boolean);
  EXPECT_EQ(StandardPropertyType("textcolor"), PropertyType::Color);
  EXPECT_EQ(StandardPropertyType("initialvalue"), PropertyType::String);
  EXPECT_EQ(StandardPropertyType("Widths"), std::nullopt);
}

TEST(FormPropertyLists, ZeroBytesDoNotEndAList) {
  const FormPropertyList& window = Window1PropertyLists::Window1();
  EXPECT_EQ(window.find('\0'), 10u);
  EXPECT_EQ(DecodeFormPropertyList(window, StandardPropertyType).size(), 21u);
  EXPECT_EQ(DecodeFormPropertyList(Window1PropertyLists::Line1(), StandardPropertyType).size(), 15u);
}

TEST(FormPropertyLists, NegativeIntegersAreTwosComplement) {
  const FormPropertyList& line = Window1PropertyLists::Line1();
  EXPECT_NE(line.find("Left " + Bytes({0xFF, 0xFF, 0xFF, 0xE4})), std::string::npos);
  EXPECT_NE(line.find("X1 " + Bytes({0xFF, 0xFF, 0xFF, 0xE4})), std::string::npos);
}

TEST(FormPropertyLists, PopupRowsAreJoinedByCarriageReturns) {
  struct MenuCase {
    const FormPropertyList& (*list)();
    size_t textBytes;
    size_t rows;
    const char* first;
    const char* last;
    int32_t listIndex;
  };
  const MenuCase cases[] = {
      {Window1PropertyLists::formatMenu, 160, 6, "Joint Photographic Experts Group (.jpg)", "Windows Bitmap (.bmp)", 0},
      {Window1PropertyLists::QualityMenu, 47, 11, "0 - Worst", "100 - Best", 7},
  };
  for (const MenuCase& c : cases) {
    SCOPED_TRACE(c.first);
    RecordingTarget menu(kPopupMenuNames);
    SetProperties_(menu, c.list());
    auto rowsAt = std::ranges::find(menu.set, "InitialValue", &PropertyEntry::name);
    auto indexAt = std::ranges::find(menu.set, "ListIndex", &PropertyEntry::name);
    ASSERT_NE(rowsAt, menu.set.end());
    ASSERT_NE(indexAt, menu.set.end());
    EXPECT_LT(rowsAt, indexAt);
    EXPECT_EQ(indexAt->value, PropertyValue::Int(c.listIndex));

    const std::string& text = rowsAt->value.text;
    EXPECT_EQ(text.size(), c.textBytes);
    std::vector<std::string> rows = SplitRows(text);
    ASSERT_EQ(rows.size(), c.rows);
    EXPECT_EQ(rows.front(), c.first);
    EXPECT_EQ(rows.back(), c.last);
  }
  std::vector<std::string> quality = SplitRows(
      Find(DecodeFormPropertyList(Window1PropertyLists::QualityMenu(), StandardPropertyType), "InitialValue")->text);
  EXPECT_EQ(quality[7], "70");
  EXPECT_EQ(quality[8], "80");
}

TEST(FormPropertyEncoding, WorkedEntries) {
  struct EntryCase {
    PropertyEntry entry;
    std::string bytes;
  };
  const EntryCase cases[] = {
      {Int("Width", 600), "Width " + Bytes({0x00, 0x00, 0x02, 0x58})},
      {Int("Left", -1), "Left " + Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
      {Int("Index", INT32_MIN), "Index " + Bytes({0x80, 0x00, 0x00, 0x00})},
      {Bool("Enabled", false), "Enabled " + Bytes({0x00})},
      {Bool("Visible", true), "Visible " + Bytes({0x01})},
      {Color("TextColor", 0x000000), "TextColor " + Bytes({0x00, 0x00, 0x00})},
      {Color("FillColor", 0x123456), "FillColor " + Bytes({0x12, 0x34, 0x56})},
      {Text("HelpTag", ""), "HelpTag " + Bytes({0x00, 0x00, 0x00, 0x00})},
      {Text("Text", "100"), "Text " + Bytes({0x00, 0x00, 0x00, 0x03}) + "100"},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.entry.name);
    EXPECT_EQ(EncodeFormPropertyList({c.entry}), c.bytes);
    EXPECT_EQ(DecodeFormPropertyList(c.bytes, StandardPropertyType), std::vector{c.entry});
  }
}

TEST(FormPropertyEncoding, StringsAreRawBytes) {
  const std::string raw = Bytes({'a', 0x00, 0xFF, 0x80, 0x0D, ' ', 'b'});
  std::vector<PropertyEntry> entries = {Text("Text", raw), Text("HelpTag", ""), Int("Top", 1)};
  FormPropertyList list = EncodeFormPropertyList(entries);
  EXPECT_EQ(list.size(), 5 + 4 + raw.size() + 8 + 4 + 4 + 4);
  EXPECT_EQ(DecodeFormPropertyList(list, StandardPropertyType), entries);
  EXPECT_TRUE(DecodeFormPropertyList("", StandardPropertyType).empty());
}

TEST(FormPropertyEncoding, UnknownNameRaises) {
  RecordingTarget target({"Width"});
  FormPropertyList list = EncodeFormPropertyList({Int("Width", 1), Int("Height", 2)});
  try {
    SetProperties_(target, list);
    FAIL() << "no exception";
  } catch (const RuntimeException& e) {
    EXPECT_NE(e.Message().find("Height"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(target.set, std::vector{Int("Width", 1)});
  EXPECT_THROW(DecodeFormPropertyList("Colour " + Bytes({1, 2, 3}), StandardPropertyType), RuntimeException);
}

// Every cut of a list raises unless it falls between two entries.
TEST(FormPropertyEncoding, ListEndingInsideAnEntryRaises) {
  for (const auto& list : {Window1PropertyLists::Window1(), Window1PropertyLists::formatMenu(),
                           Window1PropertyLists::Line1(), AboutPropertyLists::StaticText2()}) {
    std::vector<PropertyEntry> entries = DecodeFormPropertyList(list, StandardPropertyType);
    Names names;
    for (const PropertyEntry& e : entries) names.push_back(e.name);
    std::vector<size_t> boundaries;
    for (size_t n = 0; n <= entries.size(); ++n) {
      boundaries.push_back(EncodeFormPropertyList({entries.begin(), entries.begin() + n}).size());
    }
    for (size_t cut = 0; cut < list.size(); ++cut) {
      std::string_view prefix(list.data(), cut);
      auto boundary = std::ranges::find(boundaries, cut);
      if (boundary != boundaries.end()) {
        EXPECT_EQ(DecodeFormPropertyList(prefix, StandardPropertyType).size(),
                  static_cast<size_t>(boundary - boundaries.begin()));
      } else {
        EXPECT_THROW(DecodeFormPropertyList(prefix, StandardPropertyType), RuntimeException) << "cut at " << cut;
        RecordingTarget target(names);
        EXPECT_THROW(SetProperties_(target, prefix), RuntimeException) << "cut at " << cut;
      }
    }
  }
}

}  // namespace
