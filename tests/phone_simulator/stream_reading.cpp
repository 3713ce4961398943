#include "tests/phone_simulator/stream_reading.h"

bool ReadPictures(DesktopClient& desktop, size_t count, std::vector<RgbPicture>* pictures,
                  std::vector<ReceivedFrame>* video, int max_frames) {
  TestDecoder decoder;
  if (!decoder.ok()) return false;
  for (int i = 0; i < max_frames && pictures->size() < count; ++i) {
    ReceivedFrame frame;
    if (!desktop.ReadFrame(&frame)) return false;
    if (frame.payload.size() != static_cast<size_t>(frame.length > 0 ? frame.length : 0)) return false;
    if (frame.type == 1) {
      decoder.Feed(frame.payload.data(), frame.payload.size(), pictures);
      if (video) video->push_back(std::move(frame));
    }
  }
  return pictures->size() >= count;
}

int CountAccessUnitDelimiters(const std::vector<uint8_t>& p) {
  int count = 0;
  for (size_t i = 0; i + 3 < p.size(); ++i)
    if (p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 1 && p[i + 3] == 9) ++count;
  return count;
}
