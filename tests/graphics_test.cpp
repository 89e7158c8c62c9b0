// Picture and Graphics: limits, straight-alpha composition, scaling, lines.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Picture.h"
#include "platform/graphics/PictureImage.h"

namespace {

QRgb At(const Ref<Picture>& picture, int x, int y) { return ImageOf(*picture).pixel(x, y); }

// A picture of the given straight ARGB pixels, row by row.
Ref<Picture> PictureOf(int width, int height, const std::vector<QRgb>& pixels, bool opaque) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int i = 0; i < width * height; ++i) image.setPixel(i % width, i / width, pixels[i]);
  return PictureFromImage(image, opaque);
}

// Pixels that survive no premultiplied round trip.
const std::vector<QRgb> kSemiTransparent = {0x01FF8040, 0x80123456, 0xFE00FF7F, 0x00ABCDEF,
                                            0xFF102030, 0x02030405, 0x7FFFFFFF, 0x40FF0000};

bool SameBytes(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.width()) * 4) != 0)
      return false;
  return true;
}

TEST(NewPicture, SidesFromOneTo32767) {
  struct Case { int32_t width, height; bool made; };
  const Case cases[] = {{1, 1, true},      {32767, 1, true},  {1, 32767, true},
                        {0, 10, false},    {10, 0, false},    {-1, 10, false},
                        {32768, 1, false}, {1, 32768, false}, {-10000, -10000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    const Ref<Picture> p = NewPicture(c.width, c.height, 32);
    ASSERT_EQ(p != nullptr, c.made);
    if (p) {
      EXPECT_EQ(std::pair(p->Width(), p->Height()), std::pair(c.width, c.height));
    }
  }
}

TEST(NewPicture, FullyTransparentAt32BitsWhateverTheDepth) {
  for (int32_t depth : {1, 8, 16, 24, 32}) {
    const Ref<Picture> p = NewPicture(7, 3, depth);
    ASSERT_TRUE(p);
    const QImage& image = ImageOf(*p);
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x) EXPECT_EQ(image.pixel(x, y), 0u);
    EXPECT_TRUE(p->Image().blank);
    EXPECT_FALSE(p->Image().opaque);
  }
}

TEST(Graphics, PenColourStaysWithThePicture) {
  const Ref<Picture> p = NewPicture(4, 4, 32);
  p->Graphics()->ForeColor(0xFF00FF);
  const Ref<Graphics> later = p->Graphics();
  EXPECT_EQ(later->ForeColor(), 0xFF00FF);
  later->FillRect(0, 0, 1, 1);
  EXPECT_EQ(At(p, 0, 0), 0xFFFF00FFu);
  EXPECT_EQ(NewPicture(4, 4, 32)->Graphics()->ForeColor(), 0);
}

TEST(Graphics, FillRectClipsAndTracksOpaqueAndBlank) {
  const Ref<Picture> p = NewPicture(6, 4, 32);
  const Ref<Graphics> g = p->Graphics();
  g->ForeColor(0x102030);
  g->FillRect(-3, -3, 5, 5);  // covers (0..1, 0..1)
  EXPECT_FALSE(p->Image().blank);
  EXPECT_FALSE(p->Image().opaque);
  EXPECT_EQ(At(p, 1, 1), 0xFF102030u);
  EXPECT_EQ(At(p, 2, 1), 0u);
  EXPECT_EQ(At(p, 1, 2), 0u);
  g->FillRect(0, 0, 538, 284);
  EXPECT_TRUE(p->Image().opaque);
  EXPECT_EQ(At(p, 5, 3), 0xFF102030u);
}

TEST(DrawPicture, OneToOneIsABitExactCopyOntoTransparentPixels) {
  const Ref<Picture> source = PictureOf(4, 2, kSemiTransparent, false);
  // A blank target is copied row by row; one that has been drawn on is
  // composed pixel by pixel, where transparent pixels take the source as is.
  for (bool blank : {true, false}) {
    SCOPED_TRACE(blank ? "blank target" : "drawn target");
    const Ref<Picture> target = NewPicture(4, 2, 32);
    if (!blank) {
      target->Graphics()->FillRect(0, 0, 4, 2);
      target->Image().image.fill(0);
      target->Image().blank = false;
    }
    target->Graphics()->DrawPicture(source, 0, 0);
    EXPECT_TRUE(SameBytes(ImageOf(*target), ImageOf(*source)));
  }
}

TEST(DrawPicture, NotGivenSizesTakeTheSourceAndThePicture) {
  std::vector<QRgb> pixels(4 * 3);
  for (int i = 0; i < 12; ++i) pixels[i] = 0xFF000000u | uint32_t(i + 1);
  const Ref<Picture> source = PictureOf(4, 3, pixels, true);
  struct Case {
    const char* name;
    int32_t x, y, w, h, sx, sy, sw, sh;
    std::vector<std::pair<std::pair<int, int>, QRgb>> expected;  // target pixel -> value
  };
  const Case cases[] = {
      {"all defaults: the whole picture at its own size",
       1, 1, kNotGiven, kNotGiven, 0, 0, kNotGiven, kNotGiven,
       {{{1, 1}, 0xFF000001}, {{4, 3}, 0xFF00000C}, {{0, 0}, 0}, {{5, 1}, 0}}},
      {"destination size not given: that of the source rectangle",
       0, 0, kNotGiven, kNotGiven, 1, 1, 2, 2,
       {{{0, 0}, 0xFF000006}, {{1, 1}, 0xFF00000B}, {{2, 0}, 0}, {{0, 2}, 0}}},
      {"source size not given: the whole picture's, past its edge from an offset",
       0, 0, kNotGiven, kNotGiven, 2, 1, kNotGiven, kNotGiven,
       {{{0, 0}, 0xFF000007}, {{1, 1}, 0xFF00000C}, {{2, 0}, 0}, {{0, 2}, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Ref<Picture> target = NewPicture(6, 5, 32);
    target->Graphics()->DrawPicture(source, c.x, c.y, c.w, c.h, c.sx, c.sy, c.sw, c.sh);
    for (const auto& [point, value] : c.expected)
      EXPECT_EQ(At(target, point.first, point.second), value) << point.first << "," << point.second;
  }
}

TEST(DrawPicture, SourceOutsideThePictureDrawsNothing) {
  std::vector<QRgb> pixels(10 * 10);
  for (int i = 0; i < 100; ++i) pixels[i] = 0x80000000u | uint32_t(i);
  const Ref<Picture> source = PictureOf(10, 10, pixels, false);
  struct Case { int32_t sx, sy; int copiedX0, copiedY0, copiedX1, copiedY1; };  // target rect
  // A 4 x 4 tile from (sx, sy): the part inside the source lands where it would
  // have landed, the rest stays transparent.
  const Case cases[] = {{8, 8, 0, 0, 2, 2}, {-2, -1, 2, 1, 4, 4}, {8, -3, 0, 3, 2, 4},
                        {20, 0, 0, 0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.sx << "," << c.sy);
    const Ref<Picture> tile = NewPicture(4, 4, 32);
    tile->Graphics()->DrawPicture(source, 0, 0, 4, 4, c.sx, c.sy, 4, 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        const bool inside = x >= c.copiedX0 && x < c.copiedX1 && y >= c.copiedY0 && y < c.copiedY1;
        EXPECT_EQ(At(tile, x, y), inside ? pixels[(c.sy + y) * 10 + c.sx + x] : 0u) << x << "," << y;
      }
  }
}

TEST(DrawPicture, ComposesSourceOverInStraightAlpha) {
  struct Case { QRgb destination, source, result; };
  const Case cases[] = {
      {0xFFFFFFFF, 0x80FF0000, 0xFFFF7F7F},  // half red over white
      {0xFFFFFFFF, 0x00123456, 0xFFFFFFFF},  // transparent: nothing changes
      {0xFFFFFFFF, 0xFF123456, 0xFF123456},  // opaque: replaces
      {0x80FF0000, 0x800000FF, 0xC05500AA},  // half blue over half red
      {0x00ABCDEF, 0x80123456, 0x80123456},  // onto transparent: the source as is
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.source << " over " << c.destination);
    const Ref<Picture> target = PictureOf(1, 1, {c.destination}, qAlpha(c.destination) == 255);
    target->Graphics()->DrawPicture(PictureOf(1, 1, {c.source}, false), 0, 0);
    EXPECT_EQ(At(target, 0, 0), c.result);
  }
}

// A tile wholly inside the picture is read from the picture's own rows; each
// keeps its pixels when the other is drawn into, and the tile outlives the
// picture.
TEST(DrawPicture, ATileInsideThePictureSharesItsRowsUntilEitherIsDrawnInto) {
  std::vector<QRgb> pixels(6 * 5);
  for (int i = 0; i < 30; ++i) pixels[i] = (uint32_t(i * 8 + 1) << 24) | uint32_t(i * 0x010305);
  auto expectRectangle = [&](const Ref<Picture>& tile, int skipX, int skipY) {
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        if (x != skipX || y != skipY) {
          EXPECT_EQ(At(tile, x, y), pixels[(1 + y) * 6 + 2 + x]) << x << "," << y;
        }
  };
  auto tileOf = [](const Ref<Picture>& source) {
    const Ref<Picture> tile = NewPicture(3, 2, 32);
    tile->Graphics()->DrawPicture(source, 0, 0, 3, 2, 2, 1, 3, 2);
    return tile;
  };
  Ref<Picture> source = PictureOf(6, 5, pixels, false);
  const Ref<Picture> drawnInto = tileOf(source);
  EXPECT_EQ(ImageOf(*drawnInto).constBits(), ImageOf(*source).constScanLine(1) + 2 * 4) << "no copy";
  EXPECT_FALSE(drawnInto->Image().blank);
  EXPECT_FALSE(drawnInto->Image().opaque);
  expectRectangle(drawnInto, -1, -1);
  drawnInto->Graphics()->ForeColor(0x00FF00);
  drawnInto->Graphics()->FillRect(0, 0, 1, 1);
  EXPECT_EQ(At(drawnInto, 0, 0), 0xFF00FF00u);
  expectRectangle(drawnInto, 0, 0);
  EXPECT_EQ(At(source, 2, 1), pixels[8]) << "the picture is not drawn into through its tile";

  const Ref<Picture> kept = tileOf(source);
  source->Graphics()->FillRect(0, 0, 6, 5);
  EXPECT_EQ(At(source, 2, 1), 0xFF000000u);
  expectRectangle(kept, -1, -1);

  const Ref<Picture> outliving = tileOf(PictureOf(6, 5, pixels, false));
  expectRectangle(outliving, -1, -1);
  EXPECT_TRUE(tileOf(PictureOf(6, 5, std::vector<QRgb>(30, 0xFF123456u), true))->Image().opaque);
}

TEST(DrawPicture, OntoItselfReadsThePictureAsItWas) {
  const Ref<Picture> p = PictureOf(4, 2, kSemiTransparent, false);
  p->Image().image.fill(0);
  p->Image().image.setPixel(0, 0, 0xFF0000FF);
  p->Image().image.setPixel(1, 0, 0xFF00FF00);
  p->Graphics()->DrawPicture(p, 1, 0, 3, 1, 0, 0, 3, 1);
  EXPECT_EQ(At(p, 1, 0), 0xFF0000FFu);
  EXPECT_EQ(At(p, 2, 0), 0xFF00FF00u);
}

// A picture whose pixels are white where on(x, y), black elsewhere.
template <class On>
Ref<Picture> BlackAndWhite(int width, int height, bool opaque, On on) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, on(x, y) ? 0xFFFFFFFF : 0xFF000000);
  return PictureFromImage(image, opaque);
}

TEST(DrawPicture, ScalingDownAveragesAreas) {
  struct Case {
    const char* name;
    int width, height, toWidth, toHeight;
    bool (*on)(int, int);
    int grey;  // the average: every scaled pixel has it
  };
  const Case cases[] = {
      {"checkerboard by 1/2", 200, 100, 100, 50, [](int x, int y) { return (x + y) % 2 == 1; }, 128},
      {"checkerboard by 1/10", 200, 100, 20, 10, [](int x, int y) { return (x + y) % 2 == 1; }, 128},
      {"a white column in ten by 1/10", 200, 100, 20, 10, [](int x, int) { return x % 10 == 3; }, 26},
      {"a white row in ten by 1/10", 100, 200, 10, 20, [](int, int y) { return y % 10 == 7; }, 26},
  };
  for (const Case& c : cases)
    for (bool opaque : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.name << (opaque ? ", opaque" : ", with alpha"));
      const Ref<Picture> source = BlackAndWhite(c.width, c.height, opaque, c.on);
      const Ref<Picture> target = NewPicture(c.toWidth, c.toHeight, 32);
      target->Graphics()->DrawPicture(source, 0, 0, c.toWidth, c.toHeight, 0, 0, c.width, c.height);
      for (int y = 0; y < c.toHeight; ++y)
        for (int x = 0; x < c.toWidth; ++x) {
          const QRgb pixel = At(target, x, y);
          ASSERT_EQ(qAlpha(pixel), 255);
          ASSERT_NEAR(qRed(pixel), c.grey, 2) << x << "," << y;
          ASSERT_EQ(qRed(pixel), qGreen(pixel));
          ASSERT_EQ(qRed(pixel), qBlue(pixel));
        }
    }
}

// The exact area average of a straight-alpha picture scaled to width x
// height at (x, y): each source pixel counts by the area it shares with the
// result pixel, its colour also by its alpha.
QRgb ExactAverage(const QImage& source, int width, int height, int x, int y) {
  const double sx = double(source.width()) / width, sy = double(source.height()) / height;
  double sums[4] = {};
  for (int v = int(y * sy); v < std::min(source.height(), int(std::ceil((y + 1) * sy))); ++v)
    for (int u = int(x * sx); u < std::min(source.width(), int(std::ceil((x + 1) * sx))); ++u) {
      const double overlapX = std::min(u + 1.0, (x + 1) * sx) - std::max(double(u), x * sx);
      const double overlapY = std::min(v + 1.0, (y + 1) * sy) - std::max(double(v), y * sy);
      const QRgb p = source.pixel(u, v);
      const double weight = overlapX * overlapY / (sx * sy), alpha = qAlpha(p) * weight;
      sums[0] += qRed(p) * alpha;
      sums[1] += qGreen(p) * alpha;
      sums[2] += qBlue(p) * alpha;
      sums[3] += alpha;
    }
  if (sums[3] < 0.5) return 0;
  auto colour = [&](double sum) { return int(std::lround(sum / sums[3])); };
  return qRgba(colour(sums[0]), colour(sums[1]), colour(sums[2]), int(std::lround(sums[3])));
}

// With transparency, colours are averaged weighted by their alpha (as over a
// premultiplied picture); a fully transparent pixel adds no colour.
TEST(DrawPicture, ScalingDownWithTransparencyWeighsColoursByAlpha) {
  QImage source(397, 213, QImage::Format_ARGB32);
  uint32_t state = 12345;
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x) {
      state = state * 1664525u + 1013904223u;
      const int alpha = (x / 40 + y / 30) % 3 == 0 ? 0 : int(state >> 24);
      source.setPixel(x, y, qRgba(x % 256, y % 256, int(state >> 8) & 255, alpha));
    }
  const Ref<Picture> picture = PictureFromImage(source, false);
  struct Case {
    int width, height;
  };
  // 397 -> 101 and 213 -> 61 carry the last source pixel's end just past the
  // result's edge in doubles.
  for (const Case& c : {Case{138, 111}, Case{101, 61}, Case{397, 100}, Case{13, 213}, Case{1, 1}}) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    const Ref<Picture> target = NewPicture(c.width, c.height, 32);
    target->Graphics()->DrawPicture(picture, 0, 0, c.width, c.height, 0, 0, 397, 213);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const QRgb got = At(target, x, y), want = ExactAverage(source, c.width, c.height, x, y);
        ASSERT_NEAR(qAlpha(got), qAlpha(want), 1) << x << "," << y;
        ASSERT_NEAR(qRed(got), qRed(want), 1) << x << "," << y;
        ASSERT_NEAR(qGreen(got), qGreen(want), 1) << x << "," << y;
        ASSERT_NEAR(qBlue(got), qBlue(want), 1) << x << "," << y;
      }
  }
}

TEST(DrawPicture, ScaledSourceLandsInTheDestinationRectangle) {
  const Ref<Picture> source = BlackAndWhite(1000, 450, true, [](int, int) { return true; });
  const Ref<Picture> preview = NewPicture(538, 242, 32);
  preview->Graphics()->DrawPicture(source, 0, 0, 538, 242, 0, 0, 1000, 450);
  EXPECT_TRUE(preview->Image().opaque);
  EXPECT_EQ(At(preview, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(At(preview, 537, 241), 0xFFFFFFFFu);

  const Ref<Picture> canvas = NewPicture(20, 20, 32);
  canvas->Graphics()->DrawPicture(source, 5, 6, 10, 4, 0, 0, 1000, 450);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 5 && x < 15 && y >= 6 && y < 10;
      ASSERT_EQ(At(canvas, x, y), inside ? 0xFFFFFFFFu : 0u) << x << "," << y;
    }
}

using Points = std::set<std::pair<int, int>>;

Points Drawn(const Ref<Picture>& p) {
  Points points;
  for (int y = 0; y < p->Height(); ++y)
    for (int x = 0; x < p->Width(); ++x)
      if (At(p, x, y) != 0) points.insert({x, y});
  return points;
}

TEST(DrawLine, IncludesBothEndsAndClipsToThePicture) {
  struct Case {
    const char* name;
    int32_t x1, y1, x2, y2;
    Points expected;
  };
  const Case cases[] = {
      {"horizontal", 2, 3, 5, 3, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
      {"horizontal, right to left", 5, 3, 2, 3, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
      {"vertical over the whole height and past it", 4, 0, 4, 284,
       {{4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}}},
      {"horizontal from far left to far right", -100000, 1, 100000, 1,
       {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}}},
      {"a single point", 7, 5, 7, 5, {{7, 5}}},
      {"diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {"steep", 1, 0, 3, 5, {{1, 0}, {1, 1}, {2, 2}, {2, 3}, {3, 4}, {3, 5}}},
      {"shallow, backwards", 6, 2, 0, 0, {{6, 2}, {5, 2}, {4, 1}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
      {"diagonal entering from outside", -2, -2, 1, 1, {{0, 0}, {1, 1}}},
      {"outside", -5, -1, 20, -1, {}},
      {"far outside", -2000000000, 2000000000, 2000000000, 1999999999, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Ref<Picture> p = NewPicture(8, 6, 32);
    const Ref<Graphics> g = p->Graphics();
    g->ForeColor(0xFF00FF);
    g->DrawLine(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(Drawn(p), c.expected);
    for (const auto& [x, y] : c.expected) EXPECT_EQ(At(p, x, y), 0xFFFF00FFu);
    EXPECT_EQ(p->Image().blank, c.expected.empty());
  }
}

}  // namespace
