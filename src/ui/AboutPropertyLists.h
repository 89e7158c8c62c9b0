#pragma once
// The form property lists of the About window and of its two labels.
#include "platform/properties/FormPropertyList.h"

namespace AboutPropertyLists {

const FormPropertyList& About();
const FormPropertyList& StaticText1();
const FormPropertyList& StaticText2();

}  // namespace AboutPropertyLists
