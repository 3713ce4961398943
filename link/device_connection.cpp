#include "link/device_connection.h"

#include <ws2tcpip.h>

#include <algorithm>

#include "link/adb_runner.h"
#include "link/core/frame_header.h"

namespace {

// Every wait for the socket (connect, send, receive) is cut into slices of
// this length, so that a Close or a cancel on another thread is noticed
// quickly: shutting a socket down does not wake a select on every platform,
// and closing it under a select would race the waiting thread.
constexpr DWORD kWaitSliceMs = 50;

}  // namespace

DeviceConnection::~DeviceConnection() {
  DeviceConnection::Close();
}

int DeviceConnection::Connect(int kind, const std::string& id, uint16_t port) {
  bool opened = false;
  {
    ScopedLock state(stateLock_);
    kind_.store(kind);
    closing_.store(false);
    if (cancel_ && cancel_->IsSet()) {
      // Asked to give up before anything was opened.
    } else if (kind == kDeviceIos) {
      opened = OpenIos(id, port);
    } else if (kind == kDeviceAndroid) {
      // Both ends of the forward are the link port, whatever `port` is; what
      // adb printed is not examined: a refused forward shows up as a failed
      // TCP connect below.
      AdbRunner adb(AdbRunner::kDefaultDeadlineMs, cancel_ ? cancel_->event() : nullptr);
      opened = adb.Forward(id, link_wire::kLinkPort, link_wire::kLinkPort) && OpenLoopbackSocket(port);
    }
  }
  return FinishConnect(opened);
}

int DeviceConnection::ConnectLoopback(uint16_t port) {
  bool opened;
  {
    ScopedLock state(stateLock_);
    kind_.store(kDeviceAndroid);
    closing_.store(false);
    opened = OpenLoopbackSocket(port);
  }
  return FinishConnect(opened);
}

int DeviceConnection::FinishConnect(bool opened) {
  if (opened && Handshake()) {
    connected_.store(1);
    return 1;
  }
  Close();
  return 0;
}

bool DeviceConnection::OpenIos(const std::string& udid, uint16_t port) {
  ios_ = LoadIMobileDevice();
  if (!ios_) return false;
  if (ios_->idevice_new(&device_, udid.c_str()) != kIdeviceSuccess) return false;
  idevice_connection_t connection = nullptr;
  if (ios_->idevice_connect(device_, port, &connection) != kIdeviceSuccess) return false;
  {
    ScopedLock send(sendLock_);
    ScopedLock recv(recvLock_);
    connection_ = connection;
  }
  return ios_->lockdownd_client_new_with_handshake(device_, &lockdown_, kLockdownLabel) == kLockdownSuccess;
}

bool DeviceConnection::OpenLoopbackSocket(uint16_t port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  {
    // Published at once so that Close owns it from here on.
    ScopedLock send(sendLock_);
    ScopedLock recv(recvLock_);
    socket_ = s;
  }
  // Non-blocking for the socket's whole life: every wait is a select.
  u_long nonBlocking = 1;
  if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0) return false;

  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0) return true;
  if (WSAGetLastError() != WSAEWOULDBLOCK) return false;

  return WaitForSocket(s, Readiness::kConnected);
}

void DeviceConnection::Close() {
  ScopedLock state(stateLock_);
  connected_.store(0);
  // Make a Send or Recv waiting on the socket give up within one wait slice,
  // so its lock comes free soon.
  closing_.store(true);
  if (socket_ != INVALID_SOCKET) shutdown(socket_, SD_BOTH);
  ScopedLock send(sendLock_);
  ScopedLock recv(recvLock_);
  if (lockdown_) {
    ios_->lockdownd_client_free(lockdown_);
    lockdown_ = nullptr;
  }
  if (connection_) {
    ios_->idevice_disconnect(connection_);
    connection_ = nullptr;
  }
  if (device_) {
    ios_->idevice_free(device_);
    device_ = nullptr;
  }
  if (socket_ != INVALID_SOCKET) {
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }
}

int DeviceConnection::Send(const void* buffer, int n) {
  if (n < 1) return 0;
  ScopedLock send(sendLock_);
  const char* bytes = static_cast<const char*>(buffer);
  switch (kind_.load()) {
    case kDeviceIos:
      return connection_ ? SendIos(bytes, n) : 0;
    case kDeviceAndroid:
      return socket_ != INVALID_SOCKET ? SendTcp(bytes, n) : 0;
    default:
      return 0;
  }
}

int DeviceConnection::Recv(void* buffer, int n) {
  if (n < 1) return 0;
  ScopedLock recv(recvLock_);
  char* bytes = static_cast<char*>(buffer);
  switch (kind_.load()) {
    case kDeviceIos:
      return connection_ ? RecvIos(bytes, n) : 0;
    case kDeviceAndroid:
      return socket_ != INVALID_SOCKET ? RecvTcp(bytes, n) : 0;
    default:
      return 0;
  }
}

bool DeviceConnection::HasWaitingBytes() {
  ScopedLock recv(recvLock_);
  if (kind_.load() != kDeviceAndroid || socket_ == INVALID_SOCKET) return false;
  u_long waiting = 0;
  return ioctlsocket(socket_, FIONREAD, &waiting) == 0 && waiting > 0;
}

bool DeviceConnection::WaitForSocket(SOCKET s, Readiness readiness) {
  const ULONGLONG deadline = GetTickCount64() + kIoTimeoutMs;
  for (;;) {
    if (GivingUp()) return false;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(kWaitSliceMs, deadline - now));
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    timeval tv;
    tv.tv_sec = 0;
    tv.tv_usec = static_cast<long>(slice) * 1000;
    int result;
    if (readiness == Readiness::kRead) {
      result = select(0, &ready, nullptr, nullptr, &tv);
    } else if (readiness == Readiness::kWrite) {
      result = select(0, nullptr, &ready, nullptr, &tv);
    } else {
      // A finished connect shows as writable, a refused one in the exception set.
      result = select(0, nullptr, &ready, &failed, &tv);
      if (result > 0 && FD_ISSET(s, &failed)) return false;
    }
    if (result < 0) return false;
    if (result > 0) return true;
  }
}

int DeviceConnection::SendTcp(const char* buffer, int n) {
  // The socket is tried first and waited for only when it would block: a
  // select per call costs more than the copy on a busy link.
  int done = 0;
  while (done < n) {
    const int sent = send(socket_, buffer + done, n - done, 0);
    if (sent == SOCKET_ERROR) {
      if (WSAGetLastError() != WSAEWOULDBLOCK) return -1;
      if (!WaitForSocket(socket_, Readiness::kWrite)) return -1;
      continue;
    }
    done += sent;
  }
  return done;
}

int DeviceConnection::RecvTcp(char* buffer, int n) {
  int done = 0;
  while (done < n) {
    const int got = recv(socket_, buffer + done, n - done, 0);
    if (got == SOCKET_ERROR) {
      if (WSAGetLastError() != WSAEWOULDBLOCK) return -1;
      if (!WaitForSocket(socket_, Readiness::kRead)) return -1;
      continue;
    }
    if (got == 0) return done;  // the peer closed
    done += got;
  }
  return done;
}

int DeviceConnection::SendIos(const char* buffer, int n) {
  int done = 0;
  while (done < n) {
    uint32_t sent = 0;
    if (ios_->idevice_connection_send(connection_, buffer + done, static_cast<uint32_t>(n - done), &sent) !=
            kIdeviceSuccess ||
        sent < 1)
      return done;
    done += static_cast<int>(std::min<uint32_t>(sent, static_cast<uint32_t>(n - done)));
  }
  return done;
}

int DeviceConnection::RecvIos(char* buffer, int n) {
  // The phone's 10 s of silence is waited for in slices, like the socket
  // waits, so that a cancel or a Close ends the wait early.
  int done = 0;
  ULONGLONG deadline = GetTickCount64() + kIoTimeoutMs;
  while (done < n) {
    if (GivingUp()) return done;
    uint32_t got = 0;
    const int result = ios_->idevice_connection_receive_timeout(
        connection_, buffer + done, static_cast<uint32_t>(n - done), &got, kWaitSliceMs);
    if (result == kIdeviceTimeout && got == 0 && GetTickCount64() < deadline) continue;
    if (result != kIdeviceSuccess || got < 1) return done;
    done += static_cast<int>(std::min<uint32_t>(got, static_cast<uint32_t>(n - done)));
    deadline = GetTickCount64() + kIoTimeoutMs;
  }
  return done;
}
