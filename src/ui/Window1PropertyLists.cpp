#include "ui/Window1PropertyLists.h"

#include "ui/PropertyListKinds.h"

using namespace PropertyListKinds;

namespace Window1PropertyLists {

namespace {

constexpr const char* kFormatRows =
    "Joint Photographic Experts Group (.jpg)\r"
    "Portable Network Graphics (.png)\r"
    "TARGA (.tga)\r"
    "Adobe Photoshop (.psd)\r"
    "Silicon Graphics Image (.sgi)\r"
    "Windows Bitmap (.bmp)";

constexpr const char* kQualityRows = "0 - Worst\r10\r20\r30\r40\r50\r60\r70\r80\r90\r100 - Best";

}  // namespace

const FormPropertyList& Window1() {
  static const FormPropertyList list =
      WindowList({.width = 600, .height = 437, .composite = true, .title = "Vamor", .minimizeButton = true});
  return list;
}

const FormPropertyList& Rectangle1() {
  static const FormPropertyList list = RectangleList({"Rectangle1", -1, -1, 602, 316, 15});
  return list;
}

const FormPropertyList& txtTime() {
  static const FormPropertyList list = StaticTextList(
      {.place = {"txtTime", 413, 333, 167, 20, 2}, .text = "", .textAlign = kAlignRight, .textColor = kDarkGrey});
  return list;
}

const FormPropertyList& txtHeight() {
  static const FormPropertyList list = TextFieldList({.place = {"txtHeight", 269, 332, 110, 22, 3},
                                                      .enabled = true,
                                                      .format = "#####",
                                                      .helpTag = "Height of each tile, in pixels.",
                                                      .text = "100",
                                                      .mask = "#####",
                                                      .limitText = 5});
  return list;
}

const FormPropertyList& StaticText2() {
  static const FormPropertyList list = StaticTextList(
      {.place = {"StaticText2", 207, 333, 50, 20, 4}, .text = "Height:", .textAlign = kAlignLeft, .textColor = kBlack});
  return list;
}

const FormPropertyList& StaticText3() {
  static const FormPropertyList list = StaticTextList(
      {.place = {"StaticText3", 20, 366, 53, 20, 5}, .text = "Format:", .textAlign = kAlignLeft, .textColor = kBlack});
  return list;
}

const FormPropertyList& StaticText1() {
  static const FormPropertyList list = StaticTextList(
      {.place = {"StaticText1", 20, 333, 50, 20, 6}, .text = "Width:", .textAlign = kAlignLeft, .textColor = kBlack});
  return list;
}

const FormPropertyList& txtWidth() {
  static const FormPropertyList list = TextFieldList({.place = {"txtWidth", 82, 332, 110, 22, 7},
                                                      .enabled = true,
                                                      .format = "#####",
                                                      .helpTag = "Width of each tile, in pixels.",
                                                      .text = "100",
                                                      .mask = "#####",
                                                      .limitText = 5});
  return list;
}

const FormPropertyList& CustomCheck() {
  static const FormPropertyList list =
      CheckBoxList({.place = {"CustomCheck", 20, 397, 148, 20, 8}, .caption = "Custom Extension:"});
  return list;
}

const FormPropertyList& formatMenu() {
  static const FormPropertyList list =
      PopupMenuList({.place = {"formatMenu", 82, 365, 297, 20, 9}, .initialValue = kFormatRows, .listIndex = 0});
  return list;
}

const FormPropertyList& ExtensionText() {
  static const FormPropertyList list = TextFieldList({.place = {"ExtensionText", 168, 396, 211, 22, 10},
                                                      .enabled = false,
                                                      .format = "",
                                                      .helpTag = "",
                                                      .text = "jpg",
                                                      .mask = "aaaa",
                                                      .limitText = 4});
  return list;
}

const FormPropertyList& QualityText() {
  static const FormPropertyList list = StaticTextList({.place = {"QualityText", 413, 366, 87, 20, 11},
                                                       .text = "Quality:",
                                                       .textAlign = kAlignLeft,
                                                       .textColor = kBlack});
  return list;
}

const FormPropertyList& QualityMenu() {
  static const FormPropertyList list =
      PopupMenuList({.place = {"QualityMenu", 468, 365, 112, 20, 12}, .initialValue = kQualityRows, .listIndex = 7});
  return list;
}

const FormPropertyList& SaveButton() {
  static const FormPropertyList list =
      PushButtonList({.place = {"SaveButton", 413, 397, 167, 20, 13}, .caption = "Save Tiles...", .enabled = false});
  return list;
}

const FormPropertyList& Canvas1() {
  static const FormPropertyList list = CanvasList({"Canvas1", 31, 22, 538, 284, 14});
  return list;
}

const FormPropertyList& Line1() {
  static const FormPropertyList list = LineList({.name = "Line1",
                                                 .left = -28,
                                                 .top = 317,
                                                 .width = 100,
                                                 .height = 50,
                                                 .x1 = -28,
                                                 .x2 = 628,
                                                 .y1 = 315,
                                                 .y2 = 315});
  return list;
}

}  // namespace Window1PropertyLists
