#include "ui/AboutPropertyLists.h"

#include "ui/PropertyListKinds.h"

using namespace PropertyListKinds;

namespace AboutPropertyLists {

const FormPropertyList& About() {
  static const FormPropertyList list =
      WindowList({.width = 300, .height = 91, .composite = false, .title = "About Vamor", .minimizeButton = false});
  return list;
}

const FormPropertyList& StaticText1() {
  static const FormPropertyList list = StaticTextList({.place = {"StaticText1", 20, 14, 260, 44, 0},
                                                       .text = "Vamor",
                                                       .textAlign = kAlignCentre,
                                                       .textColor = kBlack,
                                                       .bold = true});
  return list;
}

const FormPropertyList& StaticText2() {
  static const FormPropertyList list = StaticTextList({.place = {"StaticText2", 20, 51, 260, 20, 1},
                                                       .text = "Korvath Vamor v" VAMOR_VERSION,
                                                       .textAlign = kAlignCentre,
                                                       .textColor = kDarkGrey,
                                                       .bold = false});
  return list;
}

}  // namespace AboutPropertyLists
