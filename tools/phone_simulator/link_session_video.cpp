// The video thread of a link session: after the opening blobs and commands it
// encodes the test picture at the frame rate and cuts it into Video
// messages; commands, turns and the configured faults fall due between
// frames.
#include <algorithm>

#include "link/core/frame_header.h"
#include "link/core/link_message.h"
#include "tools/phone_simulator/link_session.h"
#include "tools/phone_simulator/tile_pictures.h"
#include "tools/phone_simulator/video_chunker.h"
#include "tools/phone_simulator/video_source.h"

namespace phone_sim {
namespace {

uint32_t WallClockMs() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  return static_cast<uint32_t>(ms.count());
}

std::chrono::steady_clock::duration Seconds(double seconds) {
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(seconds));
}

ChunkPolicy PolicyOf(const SimulatorOptions& options) {
  ChunkPolicy policy;
  policy.min_size = options.chunk_min;
  policy.max_size = options.chunk_max;
  policy.frames_per_message = options.frames_per_message;
  policy.carry_tail = options.carry_tail;
  policy.seed = options.seed;
  return policy;
}

}  // namespace

// When each timed event of the stream falls due; time_point::max() is never.
struct LinkSession::VideoSchedule {
  Clock::time_point start, silent_at, close_at, oversize_at, next_commands, next_turn;
  Clock::duration command_interval, turn_period, frame_period;
};

LinkSession::VideoSchedule LinkSession::MakeSchedule() const {
  const Clock::time_point never = Clock::time_point::max();
  VideoSchedule s;
  s.start = Clock::now();
  auto at = [&](double seconds) { return seconds >= 0 ? s.start + Seconds(seconds) : never; };
  s.silent_at = at(options_.silent_after_s);
  s.close_at = at(options_.close_mid_frame_after_s);
  s.oversize_at = at(options_.oversize_after_s);
  s.command_interval = std::chrono::milliseconds(options_.command_interval_ms);
  s.next_commands =
      options_.command_interval_ms > 0 && !options_.commands.empty() ? s.start + s.command_interval : never;
  s.turn_period = Seconds(options_.rotate_every_s > 0 ? options_.rotate_every_s : 0);
  s.next_turn = options_.rotate_every_s > 0 && !options_.no_video ? s.start + s.turn_period : never;
  s.frame_period = Seconds(1.0 / options_.fps);
  return s;
}

void LinkSession::EndWithEncoderError(const std::string& error) {
  log_.Line("error " + error);
  SetEndReason("encoder failed");
  Shutdown();
}

bool LinkSession::OpenVideo(VideoSource& source) {
  if (options_.no_video) return true;
  std::string error;
  if (source.Open(&error)) return true;
  EndWithEncoderError(error);
  return false;
}

// Blobs, the panel, then commands, unless the phone is to be silent from
// the start. False when the session is ending.
bool LinkSession::SendOpeningItems(const VideoSchedule& schedule) {
  if (schedule.silent_at <= schedule.start) return true;
  for (const auto& blob : options_.blobs)
    if (!SendBlobFile(blob.first, blob.second) && (stopping_ || shut_down_)) return false;
  if (panel_ && !SendPanel()) return false;
  SendCommands();
  return true;
}

bool LinkSession::SendPanel() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> blobs;
  std::string error;
  if (!TileBlobs(&blobs, &error)) {
    log_.Line("error " + error);  // a panel without pictures still works
    blobs.clear();
  }
  for (const auto& blob : blobs)
    if (!SendBlob(blob.first, blob.second)) return false;
  return SendCommand(panel_->ConfigCommand());
}

// A Video header announcing the configured length and 64 bytes of it.
void LinkSession::SendOversizeFault() {
  uint8_t bytes[link_wire::kFrameHeaderSize + 64] = {};
  link_wire::PutLe32(bytes, static_cast<uint32_t>(LinkMessageType::Video));
  link_wire::PutLe32(bytes + 4, static_cast<uint32_t>(options_.oversize_length));
  {
    std::lock_guard<std::mutex> lock(send_mutex_);
    SendAll(socket_.get(), bytes, sizeof bytes);
  }
  log_.Line("fault oversize length=" + std::to_string(options_.oversize_length));
}

// The header with the full length, then only half the payload, then close.
void LinkSession::SendCutFrame(const std::vector<uint8_t>& access_unit) {
  uint8_t header[link_wire::kFrameHeaderSize];
  link_wire::EncodeFrameHeader(static_cast<uint16_t>(LinkMessageType::Video),
                               static_cast<int32_t>(access_unit.size()), header);
  {
    std::lock_guard<std::mutex> lock(send_mutex_);
    SendAll(socket_.get(), header, sizeof header);
    SendAll(socket_.get(), access_unit.data(), access_unit.size() / 2);
  }
  log_.Line("fault close-mid-frame length=" + std::to_string(access_unit.size()) +
            " sent=" + std::to_string(access_unit.size() / 2));
  SetEndReason("fault close-mid-frame");
  Shutdown();
}

// Waits for the frame due at `due`, doing whatever falls due on the way.
LinkSession::FrameWait LinkSession::WaitForFrame(Clock::time_point due, VideoSchedule& s,
                                                 VideoSource& source) {
  for (;;) {
    const Clock::time_point next =
        std::min({due, s.next_commands, s.next_turn, s.silent_at, s.close_at, s.oversize_at});
    if (!WaitUntil(next)) return FrameWait::kEnded;
    const Clock::time_point now = Clock::now();
    if (now >= s.silent_at) {
      log_.Line("fault silent");
      WaitForStop();
      return FrameWait::kEnded;
    }
    if (now >= s.oversize_at) {
      SendOversizeFault();
      WaitForStop();
      return FrameWait::kEnded;
    }
    if (now >= s.close_at) return FrameWait::kCutFrame;
    if (now >= s.next_commands) {
      SendCommands();
      s.next_commands += s.command_interval;
    }
    if (now >= s.next_turn) {
      std::string error;
      if (!source.Turn(&error)) {
        EndWithEncoderError(error);
        return FrameWait::kEnded;
      }
      log_.Line("turned " + source.SizeText());
      s.next_turn += s.turn_period;
    }
    if (now >= due) return FrameWait::kFrameDue;
  }
}

void LinkSession::VideoThread() {
  VideoSchedule schedule = MakeSchedule();
  VideoSource source(options_);
  VideoChunker chunker(PolicyOf(options_));
  if (!OpenVideo(source) || !SendOpeningItems(schedule)) return;
  if (!options_.no_video) log_.Line("streaming " + source.SizeText() + "@" + std::to_string(options_.fps));

  Clock::time_point frame_epoch = schedule.start;
  std::vector<uint8_t> access_unit;
  for (uint32_t frame = 0;; ++frame) {
    const Clock::time_point due =
        options_.no_video ? Clock::time_point::max() : frame_epoch + frame * schedule.frame_period;
    const FrameWait wait = WaitForFrame(due, schedule, source);
    if (wait == FrameWait::kEnded) return;
    access_unit.clear();
    if (options_.no_video) {
      access_unit.assign(1000, 0);  // what a cut frame holds without video
    } else if (!source.Encode(frame, WallClockMs(), &access_unit, panel_ ? panel_->Tint() : PictureTint())) {
      EndWithEncoderError("x264 failed to encode frame " + std::to_string(frame));
      return;
    }
    if (wait == FrameWait::kCutFrame) {
      SendCutFrame(access_unit);
      return;
    }
    for (const auto& payload : chunker.AddFrame(access_unit))
      if (!SendFrame(static_cast<uint16_t>(LinkMessageType::Video), payload.data(), payload.size())) return;
    // An encoder that cannot keep up streams as fast as it can, without a
    // burst of catch-up frames later.
    const Clock::time_point now = Clock::now();
    if (now - due > std::chrono::seconds(1)) frame_epoch += now - due;
  }
}

}  // namespace phone_sim
