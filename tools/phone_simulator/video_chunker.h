// Cuts the encoded byte stream into Video message payloads. The desktop's
// parser must reassemble frames whatever the cut, so the default cut is
// random; a fixed number of whole frames per message is the other mode.
#pragma once
#include <cstdint>
#include <random>
#include <vector>

namespace phone_sim {

struct ChunkPolicy {
  int min_size = 512;  // random piece sizes, inclusive
  int max_size = 16384;
  int frames_per_message = 0;  // >0: whole frames, this many per message
  bool carry_tail = false;     // keep a frame's last piece for the next frame
  uint32_t seed = 1;
};

class VideoChunker {
 public:
  explicit VideoChunker(const ChunkPolicy& policy);

  // Takes one access unit and returns the payloads that are due now.
  std::vector<std::vector<uint8_t>> AddFrame(const std::vector<uint8_t>& access_unit);

 private:
  ChunkPolicy policy_;
  std::mt19937 random_;
  std::vector<uint8_t> pending_;
  int frames_pending_ = 0;
};

}  // namespace phone_sim
