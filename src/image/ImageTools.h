#pragma once
// The image state and the tile-grid preview.
#include <cstdint>

#include "platform/graphics/Picture.h"

namespace ImageTools {
// The opened picture at full size; Nil until a file is opened. A file that
// gives no picture leaves the earlier one open.
inline Ref<Picture> OriginalImage;
// A copy of OriginalImage scaled down to fit the preview area.
inline Ref<Picture> PreviewImage;
// The picture the preview canvas shows: white, the preview centred, the grid.
inline Ref<Picture> WorkingImage;

inline constexpr int32_t kPreviewWidth = 538;
inline constexpr int32_t kPreviewHeight = 284;

// Composes a new WorkingImage from the current tile sizes and shows it;
// nothing happens before a picture is open.
void MakePreview();

// NewPicture, raising OutOfMemoryException when the picture cannot be made.
Ref<Picture> NewPictureOrRaise(int32_t width, int32_t height);
}  // namespace ImageTools
