#pragma once
// The form property lists of the main window and of its fifteen controls.
#include "platform/properties/FormPropertyList.h"

namespace Window1PropertyLists {

const FormPropertyList& Window1();
const FormPropertyList& Rectangle1();
const FormPropertyList& txtTime();
const FormPropertyList& txtHeight();
const FormPropertyList& StaticText2();
const FormPropertyList& StaticText3();
const FormPropertyList& StaticText1();
const FormPropertyList& txtWidth();
const FormPropertyList& CustomCheck();
const FormPropertyList& formatMenu();
const FormPropertyList& ExtensionText();
const FormPropertyList& QualityText();
const FormPropertyList& QualityMenu();
const FormPropertyList& SaveButton();
const FormPropertyList& Canvas1();
const FormPropertyList& Line1();

}  // namespace Window1PropertyLists
