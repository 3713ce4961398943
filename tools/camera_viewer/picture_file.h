// Turns one captured video frame into a picture file: the frame's pixels
// (YUY2, I420, NV12 or RGB24 as a capture pin delivers them) converted to
// RGB and saved as a PNG.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The formats the viewer asks for, by the names of their subtypes.
enum class FrameFormat { kYuy2, kI420, kNv12, kRgb24 };

// The subtype GUID of `format`.
GUID FrameSubtype(FrameFormat format);
// "YUY2", "I420", "NV12", "RGB24"; false for any other name.
bool ParseFrameFormat(const std::string& name, FrameFormat& format);
// The bytes of one frame of `format` at `width` x `height`.
size_t FrameBytes(FrameFormat format, int width, int height);

// Packed BGR rows, top row first, each row padded to 4 bytes as GDI+ wants.
// YUV is BT.601 studio range, as capture devices send it. Empty when `frame`
// is shorter than FrameBytes or a size is odd for a subsampled format.
std::vector<uint8_t> FrameToTopDownBgr(FrameFormat format, int width, int height,
                                       const std::vector<uint8_t>& frame);

// Saves top-down BGR rows (from FrameToTopDownBgr) as a PNG file.
bool SaveBgrAsPng(const std::vector<uint8_t>& bgr, int width, int height, const std::wstring& file);
