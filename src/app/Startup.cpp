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
  _Initialize();
  _Main();
  _Finalize();
  return RuntimeExit();
}

void _Initialize() {
  const ClassRecord* (*const framework[])() = {
      &Object::__Lookup,        &Application::__Lookup,  &Window::__Lookup,
      &RectControl::__Lookup,   &Rectangle::__Lookup,    &Label::__Lookup,
      &StaticText::__Lookup,    &TextField::__Lookup,    &CheckBox::__Lookup,
      &PopupMenu::__Lookup,     &PushButton::__Lookup,   &Canvas::__Lookup,
      &Line::__Lookup,          &MenuItem::__Lookup,     &MenuBar::__Lookup,
      &AppleMenuItem::__Lookup, &QuitMenuItem::__Lookup, &Picture::__Lookup,
      &Graphics::__Lookup,      &FolderItem::__Lookup,   &FileType::__Lookup,
      &DragItem::__Lookup,      &MouseCursor::__Lookup,  &_Keyboard::__Lookup,
      &Screen::__Lookup,        &QTGraphicsExporter::__Lookup};
  for (auto lookup : framework) lookup();
  App::__Lookup();
  Window1::__Lookup();
  MenuBar1::__Lookup();
  OpenMenu::__Lookup();
  About::__Lookup();
  AboutMenuClass::__Lookup();
}

void _Main() {
  try {
    _RunFrameworkInitialization(&_Startup);
    _RuntimeRun();
  } catch (...) {
    _UnhandledException(std::current_exception());
  }
}

void _Startup() {
  _RuntimeInitExternalClasses();
  _InitPluginEntrypoints();
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  _MakeDefaultView();
}

void _InitFileTypes() { AllFiles::_Initialize(); }

void _NewAppInstance() {
  auto app = std::make_shared<App>();
  app->MenuBar(MenuBar1());
  _RuntimeRegisterAppObject(app);
}

void _ApplicationAddMenuHandlers() {}

void _MakeDefaultView() { Window1(); }

void _Finalize() {
  RuntimeReleaseFrameworkProperties();
  RuntimeReleaseProperty("MenuBar1._implicitInstance", MenuBar1Module::_implicitInstance);
  RuntimeReleaseProperty("ImageTools.OriginalImage", ImageTools::OriginalImage);
  RuntimeReleaseProperty("ImageTools.PreviewImage", ImageTools::PreviewImage);
  RuntimeReleaseProperty("ImageTools.WorkingImage", ImageTools::WorkingImage);
  RuntimeReleaseProperty("AllFiles.pAny", AllFiles::pAny);
}
