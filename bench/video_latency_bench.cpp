// End-to-end latency of the video path against a live phone simulator:
// from the capture time the simulator stamps into each picture to the moment
// the frame made by the conversion thread is taken from VideoFrameBuffer,
// read back from the frame itself (the stamp survives orientation and
// scaling). Also counts frames that never arrived (gaps in the stamped frame
// numbers) and how far the published picture trails the newest decoded one:
// the conversion thread starts on the newest picture, so when it finishes,
// the pictures decoded meanwhile are the lag.
//
//   video_latency_bench --port N [--seconds S] [--portrait]
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/stamp_clock.h"
#include "link/core/byte_channel.h"
#include "link/core/frame_header.h"
#include "link/core/frame_reader.h"
#include "link/core/greeting.h"
#include "link/core/link_config.h"
#include "tools/phone_simulator/test_pattern.h"
#include "video/conversion_thread.h"
#include "video/core/h264_decoder.h"
#include "video/video_frame.h"
#include "video/video_frame_buffer.h"

namespace {

// A blocking loopback socket as the link's byte channel, 10 s per receive.
class SocketChannel : public ByteChannel {
 public:
  ~SocketChannel() override {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
  }
  bool Connect(int port) {
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket_ == INVALID_SOCKET) return false;
    DWORD limit = 10000;
    setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<u_short>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return connect(socket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  }
  int Send(const void* buffer, int n) override {
    if (n < 1) return 0;
    const char* p = static_cast<const char*>(buffer);
    int sent = 0;
    while (sent < n) {
      int r = send(socket_, p + sent, n - sent, 0);
      if (r <= 0) return -1;
      sent += r;
    }
    return sent;
  }
  int Recv(void* buffer, int n) override {
    if (n < 1) return 0;
    char* p = static_cast<char*>(buffer);
    int got = 0;
    while (got < n) {
      int r = recv(socket_, p + got, n - got, 0);
      if (r <= 0) return got > 0 ? got : -1;
      got += r;
    }
    return got;
  }

 private:
  SOCKET socket_ = INVALID_SOCKET;
};

// Stamp of a queued frame. The first read searches the cell size; later
// reads reuse it, so reading stays cheap beside the measured path.
bool ReadFrameStamp(const VideoFrame& frame, test_pattern::Stamp* stamp, int* cell_size) {
  if (*cell_size > 0 && test_pattern::ReadStampBottomUpBgr(frame.bits(), frame.width(), frame.height(),
                                                           frame.stride(), stamp, *cell_size))
    return true;
  const int w = frame.width(), h = frame.height();
  for (int size = std::min(w, h) / 32; size <= std::min(w, h) / 10; ++size)
    if (test_pattern::ReadStampBottomUpBgr(frame.bits(), w, h, frame.stride(), stamp, size)) {
      *cell_size = size;
      return true;
    }
  return false;
}

// Counts the pictures the frame buffer finishes, and how many were decoded
// while each was being converted.
class LagMeter : public IFrameBuffer {
 public:
  explicit LagMeter(IFrameBuffer* target) : target_(target) {}
  void OnFrame(const AVFrame* picture) override {
    const int newest = decoded.load();
    target_->OnFrame(picture);
    most.store(std::max(most.load(), decoded.load() - newest));
    ++converted;
  }
  int IsFull() override { return 0; }
  std::atomic<int> decoded{0}, converted{0}, most{0};

 private:
  IFrameBuffer* target_;
};

// Counts what the decoder hands on, then forwards it.
class DecodedCounter : public IFrameBuffer {
 public:
  DecodedCounter(IFrameBuffer* next, LagMeter* lag) : next_(next), lag_(lag) {}
  void OnFrame(const AVFrame* picture) override {
    ++count;
    ++lag_->decoded;
    next_->OnFrame(picture);
  }
  int IsFull() override { return 0; }
  std::atomic<int> count{0};

 private:
  IFrameBuffer* next_;
  LagMeter* lag_;
};

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  double seconds = 8;
  bool portrait = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc)
      port = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else if (std::strcmp(argv[i], "--portrait") == 0)
      portrait = true;
  }
  if (port <= 0) {
    std::printf("usage: video_latency_bench --port N [--seconds S] [--portrait]\n");
    return 2;
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  int status = 1;
  {
    SocketChannel channel;
    LinkConfig config;
    if (!channel.Connect(port) || !RunDesktopGreeting(channel, &config)) {
      std::printf("no phone simulator answered on 127.0.0.1:%d\n", port);
    } else {
      VideoFrameBuffer buffer;
      buffer.SetPortrait(portrait);
      buffer.SetReverse(config.reverseV, config.reverseH);
      LagMeter lag(&buffer);
      ConversionThread conversion(&lag);
      conversion.Start();
      DecodedCounter decoded(&conversion, &lag);
      H264Decoder decoder;
      decoder.SetFrameSink(&decoded);
      std::vector<double> latencies;
      int unreadable = 0, missing = 0, cell_size = 0;
      int64_t last_number = -1;
      uint64_t bytes = 0;
      const DWORD start = GetTickCount();
      DWORD last_heartbeat = start;
      while (GetTickCount() - start < seconds * 1000) {
        std::unique_ptr<LinkMessage> message = ReadFrame(channel);
        if (!message) break;
        if (!message->Is(LinkMessageType::Video)) continue;
        bytes += static_cast<uint64_t>(message->length);
        decoder.Feed(*message);
        // The conversion runs beside this thread: wait for it briefly so that
        // a frame is taken once it is there (a bounded wait, not a sleep).
        for (int spin = 0; spin < 20 && lag.converted.load() < decoded.count.load(); ++spin) Sleep(1);
        while (std::unique_ptr<VideoFrame> frame = buffer.TakeFrame()) {
          const uint32_t now = WallClockMs();
          test_pattern::Stamp stamp;
          const bool readable = ReadFrameStamp(*frame, &stamp, &cell_size);
          buffer.Recycle(std::move(frame));
          if (!readable) {
            ++unreadable;
            continue;
          }
          latencies.push_back(static_cast<double>(static_cast<int32_t>(now - stamp.send_time_ms)));
          if (last_number >= 0 && stamp.frame_number > last_number + 1)
            missing += static_cast<int>(stamp.frame_number - last_number - 1);
          last_number = stamp.frame_number;
        }
        if (GetTickCount() - last_heartbeat >= 2000) {
          uint8_t heartbeat[link_wire::kFrameHeaderSize];
          link_wire::EncodeFrameHeader(static_cast<uint16_t>(LinkMessageType::Heartbeat), 0, heartbeat);
          channel.Send(heartbeat, sizeof heartbeat);
          last_heartbeat = GetTickCount();
        }
      }
      const double elapsed = (GetTickCount() - start) / 1000.0;
      if (latencies.empty()) {
        std::printf("no stamped frame arrived (%d unreadable)\n", unreadable);
      } else {
        std::vector<double> sorted = latencies;
        std::sort(sorted.begin(), sorted.end());
        double sum = 0;
        for (double l : sorted) sum += l;
        auto at = [&](double q) {
          return sorted[std::min(sorted.size() - 1, static_cast<size_t>(q * sorted.size()))];
        };
        std::printf(
            "  %-9s output: %zu frames in %.1f s (%.1f fps, %.2f Mbit/s); capture-to-queued latency mean "
            "%.1f ms, "
            "median %.0f, p95 %.0f, max %.0f; frames missing %d, stamps unreadable %d, skipped by the "
            "conversion %llu; published picture behind the newest decoded: at most %d frame(s)\n",
            portrait ? "portrait" : "landscape", latencies.size(), elapsed, latencies.size() / elapsed,
            bytes * 8 / elapsed / 1e6, sum / sorted.size(), at(0.5), at(0.95), sorted.back(), missing,
            unreadable, static_cast<unsigned long long>(conversion.Skipped()), lag.most.load());
        status = 0;
      }
    }
  }
  WSACleanup();
  return status;
}
