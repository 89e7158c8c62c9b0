#include "image/OpenMenu.h"

#include <algorithm>

#include "image/ImageTools.h"
#include "image/OpenFailureMessage.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Conversions.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "ui/Window1.h"

namespace {
constexpr const char* kSizePattern =
    "###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,"
    "###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###,###";

// A preview side: the scaled side rounded, but never below one pixel.
int32_t PreviewSide(int32_t side, double scale) {
  return std::max(1, RuntimeCvtReal64ToSInt32(Round(RuntimeCvtSInt32ToReal64(side) * scale)));
}
}  // namespace

const ClassRecord* OpenMenu::Lookup_() {
  static const ClassRecord* record = RuntimeRegisterClass({
      .name = "OpenMenu",
      .superclass = &MenuItem::Lookup_,
      .ownOperations = {"Event_Action"},
      .members = {{"Event_Action", "%b%", {{"__Scope", "Public"}}},
                  {"OpenImage", "%%", {{"__Scope", "Public"}, {"__Shared", ""}}},
                  {"OpenDraggedImage", "%%o<FolderItem>", {{"__Scope", "Public"}, {"__Shared", ""}}}},
      .handledEvents = {"Action"},
  });
  return record;
}

bool OpenMenu::Event_Action() {
  OpenImage();
  return false;
}

void OpenMenu::OpenImage() {
  Ref<FolderItem> f = GetOpenFolderItem("");
  if (!f) return;
  LoadImage(f);
}

void OpenMenu::OpenDraggedImage(const Ref<FolderItem>& f) {
  if (!f) return;
  LoadImage(f);
}

// A file that gives no picture is reported and changes nothing: the picture
// that was open stays open, with its preview, title and grid.
void OpenMenu::LoadImage(const Ref<FolderItem>& f) {
  using ImageTools::OriginalImage;
  PictureOpenFailure failure;
  Ref<Picture> decoded = f->OpenAsPicture(&failure);
  if (!decoded) {
    MsgBox(OpenFailureMessage(f->Name(), failure));
    return;
  }
  OriginalImage = decoded;
  const int32_t W = OriginalImage->Width(), H = OriginalImage->Height();
  Ref<Canvas> canvas = NotNil(Window1())->Canvas1();
  const int32_t cw = NotNil(canvas)->Width(), ch = canvas->Height();
  double canvasRatio = RuntimeCvtSInt32ToReal64(cw) / RuntimeCvtSInt32ToReal64(ch);
  double imageRatio = RuntimeCvtSInt32ToReal64(W) / RuntimeCvtSInt32ToReal64(H);
  bool byHeight = imageRatio < canvasRatio;
  double scale = 1.0;
  if (!byHeight && cw <= W) scale = RuntimeCvtSInt32ToReal64(cw) / RuntimeCvtSInt32ToReal64(W);
  if (byHeight && ch <= H) scale = RuntimeCvtSInt32ToReal64(ch) / RuntimeCvtSInt32ToReal64(H);
  int32_t pw = PreviewSide(W, scale);
  int32_t ph = PreviewSide(H, scale);

  Ref<Picture> p = ImageTools::NewPictureOrRaise(pw, ph);
  p->Graphics()->DrawPicture(OriginalImage, 0, 0, pw, ph, 0, 0, W, H);
  ImageTools::PreviewImage = p;

  std::string width = byHeight ? Format(W, kSizePattern) : Str(W);
  std::string height = byHeight ? Format(H, kSizePattern) : Str(H);
  NotNil(Window1())->Title("Vamor: " + f->Name() + " / " + width + " x " + height);
  ImageTools::MakePreview();
  NotNil(Window1())->UpdateSaveEnabled();
}
