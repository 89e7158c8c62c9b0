#pragma once
// Inside the platform: whether a file holds all the data of its picture, for
// the formats whose Qt reader hands back a partial picture of a truncated
// file without saying so (BMP, GIF). Other formats pass.
#include <QByteArray>

bool HoldsWholePicture(const QByteArray& format, const QByteArray& data);
