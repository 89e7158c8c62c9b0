#pragma once
// How far apart two colours are: the largest difference of one of their
// red, green and blue channels.
#include <QRgb>
#include <algorithm>
#include <cstdlib>

inline int ChannelDifference(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}
