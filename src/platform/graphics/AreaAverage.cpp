#include "platform/graphics/AreaAverage.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace {
// How a source column (or row) spreads over the result's: into `first` with
// `weight`, and the rest, if any, into first + 1. Weights are in result
// pixels, so a result pixel's weights add up to 1.
struct Spread {
  int first;
  float weight, rest;
};

std::vector<Spread> Spreads(int sourceSide, int side) {
  std::vector<Spread> spreads(static_cast<size_t>(sourceSide));
  const double scale = double(side) / double(sourceSide);
  for (int s = 0; s < sourceSide; ++s) {
    // Rounding can carry the last column's end a little past the last result
    // column: nothing spreads beyond it.
    const double from = s * scale, to = std::min((s + 1) * scale, double(side));
    const int first = std::min(int(from), side - 1);
    const double split = std::min(double(first + 1), to);
    spreads[size_t(s)] = {first, float(split - from), float(std::max(0.0, to - split))};
  }
  return spreads;
}

// One result row being summed: alpha-weighted colours and alpha.
struct Sums {
  std::vector<float> values;  // per pixel: red, green, blue (times alpha), alpha
  explicit Sums(int width) : values(size_t(width) * 4) {}
  void Clear() { std::fill(values.begin(), values.end(), 0.0f); }
};

// Adds a source row, spread over the result's columns, times a row weight.
void AddRow(const QRgb* row, const std::vector<Spread>& columns, float rowWeight, Sums& sums) {
  std::vector<float>& out = sums.values;
  for (size_t x = 0; x < columns.size(); ++x) {
    const QRgb pixel = row[x];
    const float alpha = float(qAlpha(pixel));
    if (alpha == 0.0f) continue;
    const float r = float(qRed(pixel)) * alpha, g = float(qGreen(pixel)) * alpha,
                b = float(qBlue(pixel)) * alpha;
    const Spread& spread = columns[x];
    auto add = [&](int column, float weight) {
      const size_t at = size_t(column) * 4;
      out[at] += r * weight;
      out[at + 1] += g * weight;
      out[at + 2] += b * weight;
      out[at + 3] += alpha * weight;
    };
    add(spread.first, spread.weight * rowWeight);
    if (spread.rest > 0.0f) add(spread.first + 1, spread.rest * rowWeight);
  }
}

// A summed row as straight-alpha pixels; every result pixel's weights add up
// to 1, so the alpha sum is its alpha.
void Emit(const Sums& sums, QRgb* row, int width) {
  const float* sum = sums.values.data();
  for (int x = 0; x < width; ++x, sum += 4) {
    const float alpha = sum[3];
    if (alpha < 0.5f) {
      row[x] = 0;
      continue;
    }
    auto channel = [&](float value) { return std::clamp(int(std::lround(value / alpha)), 0, 255); };
    row[x] = qRgba(channel(sum[0]), channel(sum[1]), channel(sum[2]),
                   std::clamp(int(std::lround(alpha)), 0, 255));
  }
}
}  // namespace

QImage AreaAverage(const QImage& source, int sourceX, int sourceY, int sourceWidth,
                   int sourceHeight, int width, int height) {
  QImage result;
  try {
    result = QImage(width, height, QImage::Format_ARGB32);
    if (result.isNull()) return result;
    const std::vector<Spread> columns = Spreads(sourceWidth, width);
    const std::vector<Spread> rows = Spreads(sourceHeight, height);
    // A source row adds to at most two result rows: the one being summed and
    // the next.
    Sums current(width), next(width);
    int summing = 0;
    for (int y = 0; y < sourceHeight; ++y) {
      const Spread& spread = rows[size_t(y)];
      while (summing < spread.first) {
        Emit(current, reinterpret_cast<QRgb*>(result.scanLine(summing)), width);
        std::swap(current, next);
        next.Clear();
        ++summing;
      }
      const auto* row =
          reinterpret_cast<const QRgb*>(source.constScanLine(sourceY + y)) + sourceX;
      AddRow(row, columns, spread.weight, current);
      if (spread.rest > 0.0f) AddRow(row, columns, spread.rest, next);
    }
    for (; summing < height; ++summing) {
      Emit(current, reinterpret_cast<QRgb*>(result.scanLine(summing)), width);
      std::swap(current, next);
      next.Clear();
    }
  } catch (const std::bad_alloc&) {
    return {};
  }
  return result;
}
