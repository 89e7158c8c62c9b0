#include "platform/quicktime/JpegCompressor.h"

#include <QtGlobal>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace {
// Format_RGB32 / ARGB32 in memory order.
constexpr J_COLOR_SPACE kColorSpace = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
constexpr size_t kFirstBufferSize = 64 * 1024;
}  // namespace

// libjpeg reports an error by calling error_exit, which must not return: it
// jumps back into Compress. Nothing between the two holds a destructor.
struct JpegCompressor::State {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  jpeg_destination_mgr destination{};
  std::jmp_buf failed{};
  char message[JMSG_LENGTH_MAX] = {};
  bool created = false;
  std::vector<JOCTET> buffer;  // grows to the largest file, kept from tile to tile
  size_t size = 0;             // bytes of the last file

  static State& Of(j_common_ptr info) { return *static_cast<State*>(info->client_data); }

  static void Fail(j_common_ptr info) {
    State& state = Of(info);
    (*info->err->format_message)(info, state.message);
    std::longjmp(state.failed, 1);
  }
  static void Ignore(j_common_ptr) {}

  static void Start(j_compress_ptr info) {
    State& state = Of(reinterpret_cast<j_common_ptr>(info));
    if (state.buffer.size() < kFirstBufferSize) state.buffer.resize(kFirstBufferSize);
    state.destination.next_output_byte = state.buffer.data();
    state.destination.free_in_buffer = state.buffer.size();
  }
  static boolean Grow(j_compress_ptr info) {
    State& state = Of(reinterpret_cast<j_common_ptr>(info));
    const size_t used = state.buffer.size();
    bool grown = true;
    try {
      state.buffer.resize(used * 2);
    } catch (...) {
      grown = false;
    }
    if (!grown) ERREXIT(info, JERR_OUT_OF_MEMORY);
    state.destination.next_output_byte = state.buffer.data() + used;
    state.destination.free_in_buffer = state.buffer.size() - used;
    return TRUE;
  }
  static void Finish(j_compress_ptr) {}
};

JpegCompressor::JpegCompressor() : state_(std::make_unique<State>()) {
  State& state = *state_;
  state.info.err = jpeg_std_error(&state.errors);
  state.errors.error_exit = &State::Fail;
  state.errors.output_message = &State::Ignore;
  state.info.client_data = &state;
  state.destination.init_destination = &State::Start;
  state.destination.empty_output_buffer = &State::Grow;
  state.destination.term_destination = &State::Finish;
}

JpegCompressor::~JpegCompressor() {
  if (state_->created) jpeg_destroy_compress(&state_->info);
}

bool JpegCompressor::Compress(int width, int height, const JpegSettings& settings,
                              const RowsAt& rowsAt, std::string& error) {
  State& state = *state_;
  jpeg_compress_struct& info = state.info;
  if (setjmp(state.failed)) {
    if (state.created) jpeg_abort_compress(&info);
    error = std::string("JPEG: ") + state.message;
    return false;
  }
  if (!state.created) {
    state.created = true;
    jpeg_create_compress(&info);
    info.dest = &state.destination;
  }
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 4;
  info.in_color_space = kColorSpace;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, settings.quality, TRUE);
  const int chromaStep = settings.fullResolutionChroma ? 1 : 2;
  info.comp_info[0].h_samp_factor = chromaStep;
  info.comp_info[0].v_samp_factor = chromaStep;
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  const QRgb* rows[kRowsAtOnce];
  while (info.next_scanline < info.image_height) {
    const int count = std::min(kRowsAtOnce, int(info.image_height - info.next_scanline));
    rowsAt(int(info.next_scanline), count, rows);
    jpeg_write_scanlines(&info, const_cast<JSAMPARRAY>(reinterpret_cast<const JSAMPLE* const*>(rows)), JDIMENSION(count));
  }
  jpeg_finish_compress(&info);
  state.size = state.buffer.size() - state.destination.free_in_buffer;
  return true;
}

std::span<const uint8_t> JpegCompressor::Output() const { return {state_->buffer.data(), state_->size}; }
