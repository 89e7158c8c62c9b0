// The main window's handlers: they keep the settings consistent and turn
// clicks, drops and the Save button into loads and exports.
#include "export/ExportFormatTable.h"
#include "export/SaveThread.h"
#include "image/AllFiles.h"
#include "image/ImageTools.h"
#include "image/OpenMenu.h"
#include "platform/runtime/Conversions.h"
#include "platform/ui/System.h"
#include "ui/CentreOnMainScreen.h"
#include "ui/Window1.h"

void Window1::UpdateSaveEnabled() {
  double w = Val(NotNil(txtWidth())->Text());
  if (w < 1.0) {
    NotNil(SaveButton())->Enabled(false);
    return;
  }
  double h = Val(NotNil(txtHeight())->Text());
  NotNil(SaveButton())->Enabled(!(h < 1.0));
}

// Both size fields: a new grid once a preview exists, then the Save rule.
void Window1::TileSizeChanged() {
  if (ImageTools::PreviewImage) ImageTools::MakePreview();
  UpdateSaveEnabled();
}

void Window1::txtHeight_TextChange(const Ref<TextField>&) { TileSizeChanged(); }

void Window1::txtWidth_TextChange(const Ref<TextField>&) { TileSizeChanged(); }

void Window1::CustomCheck_Action(const Ref<CheckBox>& sender) {
  if (NotNil(sender)->Value()) {
    NotNil(ExtensionText())->Enabled(true);
    return;
  }
  NotNil(ExtensionText())->Enabled(false);
  if (auto format = ExportFormatOfRow(NotNil(formatMenu())->ListIndex()))
    NotNil(ExtensionText())->Text(std::string(format->defaultExtension));
}

void Window1::formatMenu_Change(const Ref<PopupMenu>& sender) {
  bool jpeg = NotNil(sender)->ListIndex() == 0;
  NotNil(QualityText())->Enabled(jpeg);
  NotNil(QualityMenu())->Enabled(jpeg);
  auto format = ExportFormatOfRow(sender->ListIndex());
  if (format && !NotNil(CustomCheck())->Value())
    NotNil(ExtensionText())->Text(std::string(format->defaultExtension));
}

bool Window1::ExtensionText_KeyDown(const Ref<TextField>& sender, std::string) {
  if (NotNil(Keyboard())->AsyncMenuShortcutKey() && NotNil(Keyboard())->AsyncKeyDown(0))
    NotNil(sender)->SelectAll();
  return false;
}

void Window1::SaveButton_Action(const Ref<PushButton>&) { SaveThread::SaveTiles(); }

bool Window1::Canvas1_MouseDown(const Ref<Canvas>&, int32_t, int32_t) { return true; }

void Window1::Canvas1_MouseUp(const Ref<Canvas>& sender, int32_t x, int32_t y) {
  bool inside = 0 <= x && x <= NotNil(sender)->Width() && 0 <= y && y <= sender->Height();
  if (inside) OpenMenu::OpenImage();
}

void Window1::Canvas1_Open(const Ref<Canvas>& sender) { NotNil(sender)->AcceptFileDrop(AllFiles::All()); }

void Window1::Canvas1_DropObject(const Ref<Canvas>&, Ref<DragItem> item, int32_t) {
  if (NotNil(item)->FolderItemAvailable()) OpenMenu::OpenDraggedImage(item->FolderItem());
}

void Window1::Event_Open() {
  CentreOnMainScreen(*this);
  NotNil(QualityMenu())->ListIndex(8);
}

void Window1::Event_EnableMenuItems() { NotNil(FileOpen())->Enabled(true); }
