#pragma once
// Peak signal-to-noise ratio of two pictures' colour channels, in dB.
#include <QImage>
#include <cmath>

inline double Psnr(const QImage& a, const QImage& b) {
  double squares = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) squares += d * d;
    }
  const double mean = squares / (3.0 * a.width() * a.height());
  return mean == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 / mean);
}
