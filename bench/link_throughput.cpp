// Measures how fast LinkReader::ReadMessage takes Video frames off a loopback
// TCP link: a phone thread in this process answers the greeting and then
// streams 64 KiB Video frames as fast as the socket takes them. For scale, the
// same bytes are also read with plain blocking recv calls.
//
//   link_throughput.exe [frames per run, default 4000] [runs, default 5]
#include <winsock2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "link/core/frame_header.h"
#include "link/link_reader.h"

namespace {

constexpr int32_t kFramePayload = 64 * 1024;

struct Listener {
  SOCKET socket = INVALID_SOCKET;
  uint16_t port = 0;
};

Listener Listen() {
  Listener l;
  l.socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(l.socket, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
  listen(l.socket, 1);
  int len = sizeof(addr);
  getsockname(l.socket, reinterpret_cast<sockaddr*>(&addr), &len);
  l.port = ntohs(addr.sin_port);
  return l;
}

bool SendAll(SOCKET s, const char* data, size_t size) {
  while (size) {
    const int n = send(s, data, static_cast<int>(std::min<size_t>(size, 1 << 20)), 0);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// The phone: optional greeting, then `frames` Video frames sent in batches.
void Phone(Listener listener, int frames, bool greet) {
  SOCKET peer = accept(listener.socket, nullptr, nullptr);
  if (greet) {
    char magic[5];
    int got = 0;
    while (got < 5) {
      const int n = recv(peer, magic + got, 5 - got, 0);
      if (n <= 0) break;
      got += n;
    }
    const std::string answer = std::string("LNK10") + std::string(4, '\0');
    SendAll(peer, answer.data(), answer.size());
  }
  constexpr int kBatch = 16;
  std::vector<char> batch;
  for (int i = 0; i < kBatch; ++i) {
    uint8_t header[link_wire::kFrameHeaderSize];
    link_wire::EncodeFrameHeader(static_cast<uint16_t>(LinkMessageType::Video), kFramePayload, header);
    batch.insert(batch.end(), header, header + sizeof(header));
    batch.insert(batch.end(), kFramePayload, static_cast<char>(i));
  }
  for (int sent = 0; sent < frames; sent += kBatch) {
    const int n = std::min(kBatch, frames - sent);
    if (!SendAll(peer, batch.data(), static_cast<size_t>(n) * (8 + kFramePayload))) break;
  }
  // Wait for the reader to hang up before closing, so no byte is lost.
  char sink[256];
  while (recv(peer, sink, sizeof(sink), 0) > 0) {
  }
  closesocket(peer);
  closesocket(listener.socket);
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

// MB/s (10^6 bytes) of payload through ReadMessage; negative on failure.
double RunLinkReader(int frames) {
  Listener listener = Listen();
  std::thread phone(Phone, listener, frames, true);
  double mbps = -1;
  {
    LinkReader reader;
    if (reader.ConnectLoopback(listener.port) == 1) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      long long bytes = 0;
      int read = 0;
      for (; read < frames; ++read) {
        std::unique_ptr<LinkMessage> m = reader.ReadMessage();
        if (!m || m->length != kFramePayload) break;
        bytes += m->length;
      }
      QueryPerformanceCounter(&end);
      if (read == frames) mbps = static_cast<double>(bytes) / 1e6 / Seconds(start, end);
    }
    reader.Close();
  }
  phone.join();
  return mbps;
}

// The same stream read with blocking recv into one reused buffer: the
// loopback socket's own speed under this system.
double RunRawSocket(int frames) {
  Listener listener = Listen();
  std::thread phone(Phone, listener, frames, false);
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(listener.port);
  double mbps = -1;
  if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0) {
    const long long total = static_cast<long long>(frames) * (8 + kFramePayload);
    std::vector<char> buffer(8 + kFramePayload);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    long long got = 0;
    while (got < total) {
      const int n = recv(s, buffer.data(), static_cast<int>(buffer.size()), 0);
      if (n <= 0) break;
      got += n;
    }
    QueryPerformanceCounter(&end);
    if (got == total) mbps = static_cast<double>(frames) * kFramePayload / 1e6 / Seconds(start, end);
  }
  shutdown(s, SD_BOTH);
  closesocket(s);
  phone.join();
  return mbps;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(16, std::atoi(argv[1])) : 4000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);

  std::vector<double> link, raw;
  for (int i = 0; i < runs; ++i) {
    link.push_back(RunLinkReader(frames));
    raw.push_back(RunRawSocket(frames));
    std::printf("run %d: ReadMessage %.1f MB/s, raw recv %.1f MB/s\n", i + 1, link.back(), raw.back());
  }
  const double linkMedian = Median(link), rawMedian = Median(raw);
  std::printf("ReadMessage, %d x 64 KiB Video frames per run, %d runs: median %.1f MB/s (%.0f frames/s)\n",
              frames, runs, linkMedian, linkMedian * 1e6 / kFramePayload);
  std::printf("raw loopback recv of the same stream: median %.1f MB/s; ReadMessage reaches %.0f%% of it\n",
              rawMedian, rawMedian > 0 ? 100.0 * linkMedian / rawMedian : 0.0);
  WSACleanup();
  return linkMedian > 0 ? 0 : 1;
}
