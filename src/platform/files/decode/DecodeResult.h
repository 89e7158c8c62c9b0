#pragma once
// Inside the platform: what one decoder made of a picture file.
#include <QByteArrayView>
#include <QImage>
#include <QString>

struct DecodeResult {
  enum class Outcome {
    kDecoded,  // image holds the picture
    kRefused,  // the file is in this decoder's format but gives no picture
    kNotMine,  // this decoder does not read the file; another one may
  };
  Outcome outcome = Outcome::kNotMine;
  QImage image;         // any format, at most kMaxPictureSide on each side
  bool opaque = false;  // the decoded image has no alpha channel

  static DecodeResult Decoded(QImage image, bool opaque) {
    return {Outcome::kDecoded, std::move(image), opaque};
  }
  static DecodeResult Refused() { return {Outcome::kRefused, {}, false}; }
  static DecodeResult NotMine() { return {Outcome::kNotMine, {}, false}; }
};

// A decoder gets the file's path and its first bytes (up to kHeadSize).
using Decoder = DecodeResult (*)(const QString& path, QByteArrayView head);
inline constexpr qsizetype kHeadSize = 4096;
