#include "tools/phone_simulator/video_chunker.h"

namespace phone_sim {

VideoChunker::VideoChunker(const ChunkPolicy& policy) : policy_(policy), random_(policy.seed) {}

std::vector<std::vector<uint8_t>> VideoChunker::AddFrame(const std::vector<uint8_t>& access_unit) {
  std::vector<std::vector<uint8_t>> out;
  pending_.insert(pending_.end(), access_unit.begin(), access_unit.end());
  ++frames_pending_;
  if (policy_.frames_per_message > 0) {
    if (frames_pending_ >= policy_.frames_per_message) {
      out.push_back(std::move(pending_));
      pending_.clear();
      frames_pending_ = 0;
    }
    return out;
  }
  std::uniform_int_distribution<int> size(policy_.min_size, policy_.max_size);
  size_t offset = 0;
  for (;;) {
    size_t piece = static_cast<size_t>(size(random_));
    if (pending_.size() - offset < piece) break;
    out.emplace_back(pending_.begin() + offset, pending_.begin() + offset + piece);
    offset += piece;
  }
  if (!policy_.carry_tail && offset < pending_.size()) {
    // The frame's rest goes out now: no added latency.
    out.emplace_back(pending_.begin() + offset, pending_.end());
    offset = pending_.size();
  }
  pending_.erase(pending_.begin(), pending_.begin() + offset);
  frames_pending_ = pending_.empty() ? 0 : 1;
  return out;
}

}  // namespace phone_sim
