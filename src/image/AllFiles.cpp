#include "image/AllFiles.h"

void AllFiles::Initialize_() {
  pAny = std::make_shared<FileType>();
  pAny->Name("special/any");
  pAny->Extensions("");
  pAny->MacType("????");
  pAny->MacCreator("????");
  pAny->Operator_Convert();
}

std::string AllFiles::All() { return "special/any;"; }
