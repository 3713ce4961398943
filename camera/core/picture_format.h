// The pixel formats the cameras deliver and the conversion of the section's
// picture (packed bottom-up BGR) into one of them at the camera's size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum class CameraFormat { kYuy2, kI420, kNv12, kRgb24 };

// Bytes of one frame of `format` at width x height; 0 when the size is not
// allowed (not positive, too large, or odd for the 4:2:x formats).
size_t CameraFrameBytes(CameraFormat format, int width, int height);

// A picture as the section holds it: rows bottom first, blue, green, red,
// width x 3 bytes per row without padding.
struct BgrPicture {
  const uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
};

// Where a picture of one size lands inside a frame of another when it is
// scaled to fit inside, centred, aspect ratio kept (top-down coordinates).
struct FitRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
FitRect FitInside(int sourceWidth, int sourceHeight, int frameWidth, int frameHeight);

// Converts pictures into frames of one format and size. Keeps a scratch
// canvas between calls so a letterboxed picture costs no allocation per tick.
class FrameConverter {
 public:
  // False (and `out` untouched) when the size is not allowed for the format,
  // `outBytes` is too small or the picture is empty. YUV is BT.601 limited
  // range; RGB24 rows run bottom-up as DirectShow's RGB24 does; a picture of
  // another size is scaled (nearest pixel) into its FitInside rectangle on
  // black.
  bool Convert(const BgrPicture& picture, CameraFormat format, int width, int height, uint8_t* out,
               size_t outBytes);

 private:
  const uint8_t* Fitted(const BgrPicture& picture, int width, int height);
  std::vector<uint8_t> canvas_;
  std::vector<int> columns_;
};
