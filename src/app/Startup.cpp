#include "app/Startup.h"

#include "app/AboutMenuClass.h"
#include "app/App.h"
#include "app/MenuBar1.h"
#include "app/PluginEntrypoints.h"
#include "image/AllFiles.h"
#include "image/ImageTools.h"
#include "image/OpenMenu.h"
#include "platform/files/FileType.h"
#include "platform/files/FolderItem.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Picture.h"
#include "platform/quicktime/QTGraphicsExporter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/System.h"
#include "platform/ui/Window.h"
#include "ui/About.h"
#include "ui/Window1.h"

int32_t VamorMain() {
  RuntimeInit();
  Initialize_();
  Main_();
  Finalize_();
  return RuntimeExit();
}

void Initialize_() {
  const ClassRecord* (*const framework[])() = {
      &Object::Lookup_,        &Application::Lookup_,  &Window::Lookup_,
      &RectControl::Lookup_,   &Rectangle::Lookup_,    &Label::Lookup_,
      &StaticText::Lookup_,    &TextField::Lookup_,    &CheckBox::Lookup_,
      &PopupMenu::Lookup_,     &PushButton::Lookup_,   &Canvas::Lookup_,
      &Line::Lookup_,          &MenuItem::Lookup_,     &MenuBar::Lookup_,
      &AppleMenuItem::Lookup_, &QuitMenuItem::Lookup_, &Picture::Lookup_,
      &Graphics::Lookup_,      &FolderItem::Lookup_,   &FileType::Lookup_,
      &DragItem::Lookup_,      &MouseCursor::Lookup_,  &Keyboard_::Lookup_,
      &Screen::Lookup_,        &QTGraphicsExporter::Lookup_};
  for (auto lookup : framework) lookup();
  App::Lookup_();
  Window1::Lookup_();
  MenuBar1::Lookup_();
  OpenMenu::Lookup_();
  About::Lookup_();
  AboutMenuClass::Lookup_();
}

void Main_() {
  try {
    RunFrameworkInitialization_(&Startup_);
    RuntimeRun_();
  } catch (...) {
    UnhandledException_(std::current_exception());
  }
}

void Startup_() {
  RuntimeInitExternalClasses_();
  InitPluginEntrypoints_();
  InitFileTypes_();
  NewAppInstance_();
  ApplicationAddMenuHandlers_();
  MakeDefaultView_();
}

void InitFileTypes_() { AllFiles::Initialize_(); }

void NewAppInstance_() {
  auto app = std::make_shared<App>();
  app->MenuBar(MenuBar1());
  RuntimeRegisterAppObject_(app);
}

void ApplicationAddMenuHandlers_() {}

void MakeDefaultView_() { Window1(); }

void Finalize_() {
  RuntimeReleaseFrameworkProperties();
  RuntimeReleaseProperty("MenuBar1._implicitInstance", MenuBar1Module::_implicitInstance);
  RuntimeReleaseProperty("ImageTools.OriginalImage", ImageTools::OriginalImage);
  RuntimeReleaseProperty("ImageTools.PreviewImage", ImageTools::PreviewImage);
  RuntimeReleaseProperty("ImageTools.WorkingImage", ImageTools::WorkingImage);
  RuntimeReleaseProperty("AllFiles.pAny", AllFiles::pAny);
}
