#include "platform/files/decode/JpegDecompressor.h"

namespace {
// Each scan of a progressive file goes over the whole picture again.
constexpr int kMostScans = 500;
}  // namespace

JpegDecompressor::JpegDecompressor() {
  info_.err = jpeg_std_error(&errors_);
  errors_.error_exit = Stop;
  errors_.emit_message = Message;
  errors_.output_message = [](j_common_ptr) {};
  progress_.progress_monitor = CountScans;
  info_.client_data = this;
}

JpegDecompressor::~JpegDecompressor() { jpeg_destroy_decompress(&info_); }

bool JpegDecompressor::ReadHeader(std::span<const uint8_t> bytes) {
  jpeg_create_decompress(&info_);
  info_.progress = &progress_;
  jpeg_mem_src(&info_, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_save_markers(&info_, JPEG_APP0 + 1, 0xFFFF);
  return jpeg_read_header(&info_, TRUE) == JPEG_HEADER_OK;
}

void JpegDecompressor::Stop(j_common_ptr info) {
  std::longjmp(static_cast<JpegDecompressor*>(info->client_data)->stop_, 1);
}

// Levels below 0 are warnings; the others are traces.
void JpegDecompressor::Message(j_common_ptr info, int level) {
  if (level < 0) Stop(info);
}

void JpegDecompressor::CountScans(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMostScans) Stop(info);
}
