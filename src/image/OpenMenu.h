#pragma once
// The File menu's "Open..." item, and the two ways a picture is opened.
#include "platform/files/FolderItem.h"
#include "platform/ui/MenuItem.h"

class OpenMenu : public MenuItem {
 public:
  static const ClassRecord* Lookup_();
  const ClassRecord* ClassInfo() const override { return Lookup_(); }
  bool Event_Action() override;

  // Asks for a file in the open-file dialog and loads it.
  static void OpenImage();
  // Loads a file dropped on the preview; Nil does nothing.
  static void OpenDraggedImage(const Ref<FolderItem>& f);

 private:
  static void LoadImage(const Ref<FolderItem>& f);
};
