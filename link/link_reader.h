// The link protocol over a DeviceConnection: the greeting with "LNK10" and the
// phone's configuration block, a heartbeat frame every 2 s, reading framed
// messages (video, blobs, commands) and writing framed messages.
//
// Threads: the stream thread is the only reader (Connect, ReadMessage, Close,
// destruction). Writers are the heartbeat thread (owned here, stopped and
// joined by Close's owner, the destructor) and the panel's sender, which
// reaches the reader through LinkReader::Current. messageLock_ keeps each
// outgoing frame whole on the wire.
//
// Side effects of ReadMessage: a Command's text is sent (SendMessageA, so the
// stream thread waits for it) to the command window as WM_LINK_COMMAND with
// lParam = NUL-terminated ANSI text valid during the call; a Blob goes to
// DUIResourceStore::Instance(). A Blob shorter than its 255-byte name field is
// dropped (so is one the store's caps refuse): nothing is stored, the message
// is still returned and the link goes on.
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>

#include "framework/critical_section.h"
#include "framework/handles.h"
#include "framework/worker_thread.h"
#include "link/core/link_config.h"
#include "link/core/link_message.h"
#include "link/device_connection.h"

class LinkReader;

// The process-wide "current link reader" that the panel's sender writes
// through. The slot's lock is held while a write through it is in progress
// and while a reader is being unregistered, so a reader is never destroyed
// under a write that reached it through the slot: the destructor waits (at
// most one send time-out) for such a write to finish. Asking whether a reader
// is registered never waits.
class CurrentLinkReader {
 public:
  // True while a reader is registered (from its construction to its destruction).
  explicit operator bool() const { return reader_.load() != nullptr; }
  // Writes through the current reader; 0 when there is none or the write failed.
  int WriteMessage(const LinkMessage& message);
  int WriteMessage(LinkMessageType type, const void* payload, int32_t length);

 private:
  friend class LinkReader;
  void Set(LinkReader* reader);
  void ResetIf(LinkReader* reader);

  CriticalSection lock_;                      // held by writes and by changes
  std::atomic<LinkReader*> reader_{nullptr};  // changed only under lock_
};

class LinkReader : public DeviceConnection {
 public:
  static constexpr DWORD kHeartbeatIntervalMs = 2000;

  // `commandWindow` receives WM_LINK_COMMAND (null: commands are only returned).
  // `cancel` (optional, not owned, outlives the reader) ends the connect and
  // every wait of the link when set (see DeviceConnection).
  // Registers the new reader as LinkReader::Current.
  explicit LinkReader(HWND commandWindow = nullptr, const LinkCancel* cancel = nullptr);
  // Unregisters from Current (waiting for a write through it), closes the
  // link and joins the heartbeat thread.
  ~LinkReader() override;

  // Closes the transport and stops the heartbeat thread's timer.
  void Close() override;

  void GetReverseFlags(int* reverseV, int* reverseH) const;
  int reverseV() const { return config_.reverseV; }
  int reverseH() const { return config_.reverseH; }

  // The next message, or null when the link failed (short read, 10 s of
  // silence, a length that is negative or above the frame bound). Stream
  // thread only.
  std::unique_ptr<LinkMessage> ReadMessage();

  // Writes one whole frame; 1 when everything was sent, else 0. Returns 0
  // without touching the wire until the handshake has completed or after
  // Close. Safe from any thread.
  int WriteMessage(const LinkMessage& message);
  int WriteMessage(LinkMessageType type, const void* payload, int32_t length);

  static CurrentLinkReader Current;

 protected:
  bool Handshake() override;

 private:
  int WriteFrame(uint16_t type, const void* payload, int32_t length);
  void HeartbeatLoop();
  void StopHeartbeat();
  void DeliverCommand(const LinkMessage& message);
  static void StoreBlob(const LinkMessage& message);

  const HWND commandWindow_;
  CriticalSection messageLock_;
  LinkConfig config_;
  // Manual-reset; set by Close so the heartbeat thread ends at once.
  UniqueHandle heartbeatStop_;
  WorkerThread heartbeatThread_;
};
