// The tile-grid preview composed by MakePreview.
#include "StartedVamor.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/PictureImage.h"
#include "platform/runtime/TestHooks.h"

namespace {
constexpr QRgb kMagenta = 0xFFFF00FF, kWhite = 0xFFFFFFFF, kGrey = 0xFF404040;

class PreviewTest : public StartedVamor {
 protected:
  // Holds a picture of that size and a grey preview of that size, as a load
  // leaves them, and the given tile sizes.
  void Hold(int w, int h, int pw, int ph, const char* tileW, const char* tileH) {
    ImageTools::OriginalImage = NewPicture(w, h, 32);
    ImageTools::PreviewImage = NewPicture(pw, ph, 32);
    auto g = ImageTools::PreviewImage->Graphics();
    g->ForeColor(0x404040);
    g->FillRect(0, 0, pw, ph);
    Main()->txtWidth()->Text(tileW);
    Main()->txtHeight()->Text(tileH);
  }
  const QImage& Shown() { return ImageOf(*Main()->Canvas1()->Backdrop()); }
  std::vector<int> MagentaColumns(int row) {
    std::vector<int> columns;
    for (int x = 0; x < 538; ++x)
      if (Shown().pixel(x, row) == kMagenta) columns.push_back(x);
    return columns;
  }
  std::vector<int> MagentaRows(int column) {
    std::vector<int> rows;
    for (int y = 0; y < 284; ++y)
      if (Shown().pixel(column, y) == kMagenta) rows.push_back(y);
    return rows;
  }
};

TEST_F(PreviewTest, WorkedExampleDrawsTheGridWhereTheTileBoundariesFall) {
  Hold(1000, 450, 538, 242, "256", "100");
  ImageTools::MakePreview();
  ASSERT_EQ(Main()->Canvas1()->Backdrop(), ImageTools::WorkingImage);
  const QImage& shown = Shown();
  ASSERT_EQ(shown.size(), QSize(538, 284));
  const std::vector<int> columns = {138, 275, 413}, rows = {75, 129, 182, 236};
  for (int y : {0, 10, 21, 100, 262, 283}) EXPECT_EQ(MagentaColumns(y), columns) << y;
  for (int x : {0, 1, 137, 300, 537}) EXPECT_EQ(MagentaRows(x), rows) << x;
  for (int x : columns) EXPECT_EQ(MagentaRows(x).size(), 284u) << "line over the whole height";
  // White bands above and below the preview, the preview from row 21 to 262.
  EXPECT_EQ(shown.pixel(5, 20), kWhite);
  EXPECT_EQ(shown.pixel(5, 21), kGrey);
  EXPECT_EQ(shown.pixel(5, 262), kGrey);
  EXPECT_EQ(shown.pixel(5, 263), kWhite);
  EXPECT_EQ(shown.pixel(537, 50), kGrey);
}

TEST_F(PreviewTest, LineCountsFollowTheTileSizes) {
  struct Case {
    const char* tileW;
    std::vector<int> columns;
  };
  const Case cases[] = {
      {"250", {135, 269, 404}},  // divides 1000: no line at the right edge
      {"1000", {}},
      {"5000", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tileW);
    Hold(1000, 450, 538, 242, c.tileW, "1000");
    ImageTools::MakePreview();
    EXPECT_EQ(MagentaColumns(10), c.columns);
  }
}

TEST_F(PreviewTest, TileSizeBelowOneDrawsTheGridOfOnePixelTiles) {
  Hold(1000, 450, 538, 242, "1", "1000");
  ImageTools::MakePreview();
  const QImage onePixel = Shown().copy();
  std::vector<int> expected;
  for (int x = 1; x < 538; ++x) expected.push_back(x);
  EXPECT_EQ(MagentaColumns(10), expected);
  for (const char* text : {"0", ""}) {
    Main()->txtWidth()->Text(text);
    ImageTools::MakePreview();
    EXPECT_EQ(Shown(), onePixel) << "width \"" << text << "\"";
  }
}

TEST_F(PreviewTest, PictureNoLargerThanTheCanvasHasLinesAtWholeTileMultiples) {
  Hold(300, 200, 300, 200, "64", "50");
  ImageTools::MakePreview();
  // Preview at (119, 42); lines i x 64 right of its left edge, j x 50 below its top.
  EXPECT_EQ(MagentaColumns(0), (std::vector<int>{183, 247, 311, 375}));
  EXPECT_EQ(MagentaRows(0), (std::vector<int>{92, 142, 192}));
  EXPECT_EQ(Shown().pixel(119, 60), kGrey);
  EXPECT_EQ(Shown().pixel(118, 60), kWhite);
}

TEST_F(PreviewTest, OddPreviewSideKeepsLinesAtTheirDistanceFromTheEdge) {
  Hold(1000, 500, 538, 269, "1000", "256");
  ImageTools::MakePreview();
  // offY = 7.5: the preview's top row and the first line use the same cut.
  EXPECT_EQ(Shown().pixel(5, 6), kWhite);
  EXPECT_EQ(Shown().pixel(5, 7), kGrey);
  EXPECT_EQ(MagentaRows(5), (std::vector<int>{145}));
}

TEST_F(PreviewTest, EachCallMakesANewPictureAndCallsTheBackgroundHookPerLine) {
  Hold(1000, 450, 538, 242, "256", "100");
  ImageTools::MakePreview();
  Ref<Picture> first = ImageTools::WorkingImage;
  QImage firstImage = ImageOf(*first).copy();
  uint64_t before = TestHooks::backgroundTasks;
  ImageTools::MakePreview();
  EXPECT_NE(ImageTools::WorkingImage, first);
  EXPECT_EQ(ImageOf(*ImageTools::WorkingImage), firstImage);
  EXPECT_EQ(TestHooks::backgroundTasks - before, 3u + 4u);
}

}  // namespace
