#pragma once
// Inside the platform: libjpeg's decompressor over a file's bytes. Any error
// and any warning (a premature end of the data, corrupt data, extraneous
// bytes) stops it, and so does a progressive file of more than 500 scans;
// nothing is printed.
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <span>

#include <jpeglib.h>

class JpegDecompressor {
 public:
  JpegDecompressor();
  ~JpegDecompressor();
  JpegDecompressor(const JpegDecompressor&) = delete;
  JpegDecompressor& operator=(const JpegDecompressor&) = delete;

  // Runs steps(info), libjpeg calls that return whether to go on: false when
  // they say no or libjpeg stopped them. A stop jumps over the steps' own
  // frame, so their locals must not need destroying.
  template <typename Steps>
  bool Run(Steps&& steps) {
    if (setjmp(stop_)) return false;
    return steps(info_);
  }

  // The first step: reads the header of the JPEG in bytes, keeping its APP1
  // segments in info.marker_list. The bytes must outlive the decompressor.
  bool ReadHeader(std::span<const uint8_t> bytes);

 private:
  [[noreturn]] static void Stop(j_common_ptr info);
  static void Message(j_common_ptr info, int level);
  static void CountScans(j_common_ptr info);

  jpeg_decompress_struct info_{};
  jpeg_error_mgr errors_{};
  jpeg_progress_mgr progress_{};
  std::jmp_buf stop_{};
};
