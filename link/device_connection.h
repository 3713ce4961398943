// The byte transport to one phone: usbmux through libimobiledevice (iOS) or
// TCP to 127.0.0.1 after an adb port forward (Android). It offers "send n
// bytes" and "receive exactly n bytes", each wait bounded by 10 s, and runs
// the link protocol's handshake once the transport is open.
//
// Locks: stateLock_ serialises Connect and Close; sendLock_ is held by one
// Send for its whole duration, recvLock_ by one Recv, so a receive waiting
// for the phone never delays a send. Lock order is state -> send -> recv;
// Send and Recv never take stateLock_.
//
// Close and in-flight I/O: Close first tells a Send or Recv waiting on the
// socket to give up (they wait in 100 ms slices of their 10 s bound and check
// a closing flag between slices) and then takes sendLock_ and recvLock_
// before it frees any handle, so a Send on another thread never uses a closed socket or
// a freed usbmux connection; once closed, Send and Recv find no transport and
// return 0.
//
// Cancelling: a connection may watch a LinkCancel. Once it is set, Connect
// gives up wherever it is (the adb forward's child is ended, the TCP connect's
// wait and every later socket wait end within one wait slice) and Send and
// Recv fail, so the thread that owns the connection gets back quickly to
// close it. The cancelling thread never touches the connection itself.
#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "framework/critical_section.h"
#include "link/core/byte_channel.h"
#include "link/core/device_info.h"
#include "link/imobiledevice.h"
#include "link/link_cancel.h"

class DeviceConnection : public ByteChannel {
 public:
  // Every wait for the phone (connect, each select, each usbmux receive).
  static constexpr int kIoTimeoutMs = 10000;
  // The lockdown label that identifies this program to an iOS phone.
  static constexpr const char* kLockdownLabel = "lumora";

  // `cancel` (optional, not owned) must outlive the connection.
  explicit DeviceConnection(const LinkCancel* cancel = nullptr) : cancel_(cancel) {}
  ~DeviceConnection() override;
  DeviceConnection(const DeviceConnection&) = delete;
  DeviceConnection& operator=(const DeviceConnection&) = delete;

  // Opens the transport of `kind` and runs Handshake; 1 when both succeeded.
  // kind 1: `id` is the UDID, `port` the device port. kind 2: `id` is the adb
  // serial; local port 8984 is forwarded to device port 8984, then TCP goes to
  // 127.0.0.1:`port`. On failure everything opened is released again. One
  // object serves one attempt.
  virtual int Connect(int kind, const std::string& id, uint16_t port);
  // The TCP half of kind 2 without the adb forward, for an endpoint that is
  // already reachable on the loopback address (a forward made earlier, a
  // local simulator). Same result and clean-up as Connect.
  int ConnectLoopback(uint16_t port);
  // Releases everything that is open; safe to call repeatedly and from any thread.
  virtual void Close();
  int IsConnected() const { return connected_.load(); }

  int Send(const void* buffer, int n) override;
  int Recv(void* buffer, int n) override;
  // True when bytes have arrived that no Recv has taken yet. Only the TCP
  // transport can tell; the iOS transport always says false.
  bool HasWaitingBytes();

 protected:
  // The protocol's greeting over Send/Recv; true when the link may be used.
  virtual bool Handshake() = 0;

 private:
  bool OpenIos(const std::string& udid, uint16_t port);
  bool OpenLoopbackSocket(uint16_t port);
  int FinishConnect(bool opened);
  enum class Readiness { kRead, kWrite, kConnected };
  // Waits up to kIoTimeoutMs for the socket, in slices, until it is readable,
  // writable or (kConnected) its connect has finished without error; false on
  // time-out, error, a failed connect, a Close in progress or a cancel.
  bool WaitForSocket(SOCKET s, Readiness readiness);
  bool GivingUp() const { return closing_.load() || (cancel_ && cancel_->IsSet()); }
  int SendTcp(const char* buffer, int n);
  int RecvTcp(char* buffer, int n);
  int SendIos(const char* buffer, int n);
  int RecvIos(char* buffer, int n);

  const LinkCancel* const cancel_;
  std::atomic<int> kind_{-1};
  // Written under stateLock_ (device_, lockdown_) or all three locks
  // (connection_, socket_); Send/Recv read them under their own lock.
  const IMobileDeviceApi* ios_ = nullptr;
  idevice_t device_ = nullptr;
  idevice_connection_t connection_ = nullptr;
  lockdownd_client_t lockdown_ = nullptr;
  SOCKET socket_ = INVALID_SOCKET;
  std::atomic<int> connected_{0};
  std::atomic<bool> closing_{false};  // set by Close before it waits for the I/O locks
  CriticalSection stateLock_;
  CriticalSection sendLock_;
  CriticalSection recvLock_;
};
