// A request to give up on a link, made by the thread that wants the link's
// owner to stop (the stream worker's Stop, on the window thread) and honoured
// by everything the link's own thread may be waiting on: the adb forward (its
// runner waits on event() and ends the child), the TCP connect and every
// socket or usbmux receive wait (checked between short wait slices).
//
// Why a separate object and not a call on the connection: the stopping
// thread never has to reach the connection, which the link's thread makes
// and frees, so no lock is held across a call into the link and a request
// made before the connection exists is not lost. The owner keeps it alive
// longer than any connection that watches it and resets it only between runs,
// when no such connection exists.
#pragma once
#include <windows.h>

#include <atomic>

#include "framework/handles.h"

class LinkCancel {
 public:
  LinkCancel() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  LinkCancel(const LinkCancel&) = delete;
  LinkCancel& operator=(const LinkCancel&) = delete;

  // Any thread. Stays set until Reset.
  void Set() {
    set_.store(true);
    if (event_) SetEvent(event_.get());
  }
  // Owner only, while no connection watches it.
  void Reset() {
    set_.store(false);
    if (event_) ResetEvent(event_.get());
  }
  bool IsSet() const { return set_.load(); }
  // Manual-reset event, signalled while set (null if it could not be made:
  // the flag still works, only the adb wait is then not cut short).
  HANDLE event() const { return event_.get(); }

 private:
  UniqueHandle event_;
  std::atomic<bool> set_{false};
};
