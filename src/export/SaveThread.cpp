#include "export/SaveThread.h"

#include "export/ExportFormatTable.h"
#include "image/ImageTools.h"
#include "platform/files/FolderItem.h"
#include "platform/graphics/Graphics.h"
#include "platform/quicktime/QTGraphicsExporter.h"
#include "platform/runtime/Conversions.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/System.h"
#include "ui/Window1.h"

const char* const kNoOpenImageMessage = "There is no open Image!";

namespace {
int32_t Int(double value) { return RuntimeCvtReal64ToSInt32(value); }
double Dbl(int32_t value) { return RuntimeCvtSInt32ToReal64(value); }

double TileWidth() { return Val(NotNil(Window1())->txtWidth()->Text()); }
double TileHeight() { return Val(NotNil(Window1())->txtHeight()->Text()); }

// Tiles that the exporter could not write: how many, the first and why.
struct WriteFailures {
  int32_t count = 0;
  std::string firstName, firstReason;

  void Add(const std::string& name, std::string reason) {
    if (count++ > 0) return;
    while (!reason.empty() && reason.back() == '.') reason.pop_back();
    firstName = name;
    firstReason = reason.empty() ? "the exporter could not write it" : reason;
  }
  std::string Message(int32_t written) const {
    if (count + written == 1) return "The tile " + firstName + " could not be written: " + firstReason + ".";
    if (count == 1)
      return "1 of " + Str(count + written) + " tiles could not be written: " + firstName + " failed: " + firstReason +
             ".";
    return Str(count) + " of " + Str(count + written) + " tiles could not be written. The first, " + firstName +
           ", failed: " + firstReason + ".";
  }
};

void RestorePointer() { NotNil(Window1())->MouseCursor(System().Cursors().StandardPointer()); }
}  // namespace

std::string SaveThread::TileFileName(int32_t x, int32_t y, const std::string& extension) {
  return "x" + Str(x) + "y" + Str(y) + extension;
}

int32_t SaveThread::CompressionQualityOf(const std::string& qualityRowText) {
  return Int(Val(qualityRowText) / 100.0 * 1024.0);
}

std::string SaveThread::TimeLabel(int32_t elapsedTicks) {
  int32_t minutes = Int(Floor(Dbl(elapsedTicks) / 60.0 / 60.0));
  int32_t m60 = static_cast<int32_t>(static_cast<uint32_t>(minutes) * 60u);
  int32_t seconds = Int(Dbl(elapsedTicks) / 60.0 - Dbl(m60));
  return "Last time: " + Str(minutes) + ":" + Format(Dbl(seconds), "00");
}

void SaveThread::SaveTiles() {
  const std::string extension = "." + NotNil(Window1())->ExtensionText()->Text();
  Ref<QTGraphicsExporter> exporter;
  if (auto format = ExportFormatOfRow(NotNil(Window1())->formatMenu()->ListIndex()))
    exporter = GetQTGraphicsExporter(std::string(format->exporterCode));

  Ref<FolderItem> folder = SelectFolder();
  if (!folder) return;
  const Ref<Picture> original = ImageTools::OriginalImage;
  if (!original) {
    MsgBox(kNoOpenImageMessage);
    return;
  }
  if (!exporter) {
    MsgBox("Vamor has no exporter for the chosen format. No tile was written.");
    return;
  }
  if (TileWidth() < 1.0 || TileHeight() < 1.0) {
    MsgBox("The tile width and height must be at least 1 pixel. No tile was written.");
    return;
  }
  const std::string sizeProblem = exporter->TileSizeProblem(Int(TileWidth()), Int(TileHeight()));
  if (!sizeProblem.empty()) {
    MsgBox(sizeProblem + " Choose a smaller tile size.");
    return;
  }

  const int32_t start = Ticks();
  NotNil(Window1())->MouseCursor(System().Cursors().Wait());
  WriteFailures failures;
  int32_t written = 0;
  for (int32_t x = 1; !(Ceil(Dbl(original->Width()) / TileWidth()) < Dbl(x)); ++x) {
    for (int32_t y = 1; !(Ceil(Dbl(original->Height()) / TileHeight()) < Dbl(y)); ++y) {
      const double w = TileWidth(), h = TileHeight();
      Ref<Picture> tile = NewPicture(Int(w), Int(h), 32);
      if (!tile) {
        RestorePointer();
        MsgBox("A tile of " + Str(Int(w)) + " x " + Str(Int(h)) +
               " pixels is too large to be made. Choose a smaller tile size.");
        return;
      }
      tile->Graphics()->DrawPicture(original, 0, 0, Int(w), Int(h), Int(Dbl(x) * w - w),
                                    Int(Dbl(y) * h - h), Int(w), Int(h));
      const std::string name = TileFileName(x, y, extension);
      Ref<FolderItem> file = folder->Child(name);
      if (NotNil(Window1())->formatMenu()->ListIndex() == 0)
        exporter->CompressionQuality(CompressionQualityOf(Window1()->QualityMenu()->Text()));
      if (exporter->SavePicture(file, tile)) ++written;
      else failures.Add(name, exporter->LastError());
    }
  }
  RestorePointer();
  const int32_t end = Ticks();
  const int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(end) - static_cast<uint32_t>(start));
  NotNil(Window1())->txtTime()->Text(TimeLabel(elapsed));
  if (failures.count > 0) MsgBox(failures.Message(written));
}
