// An owned worker thread, and the wait that lets a window thread wait for a
// worker while still answering messages the worker sends to its windows.
#pragma once
#include <windows.h>

#include <functional>

#include "framework/handles.h"

// Waits for `handle` up to `timeoutMs` (INFINITE allowed) while delivering
// messages sent to this thread's windows from other threads. Posted messages
// stay queued. Returns WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitPumpingSentMessages(HANDLE handle, DWORD timeoutMs);

// One thread at a time. The owner starts it, and Join (or the destructor)
// waits for it; a window thread joins with JoinPumping so that a worker
// blocked in SendMessage to one of its windows can finish.
class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread() { Join(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts `body` on a new thread; false if one is still owned (join it first)
  // or the thread could not be created.
  bool Start(std::function<void()> body);
  // True while the thread has not finished.
  bool IsRunning() const;
  // Waits for the thread and releases its handle; no-op when none.
  void Join();
  // Join that delivers sent messages meanwhile; false on time-out (the thread is still owned).
  bool JoinPumping(DWORD timeoutMs = INFINITE);
  HANDLE handle() const { return handle_.get(); }
  DWORD id() const { return id_; }

 private:
  static DWORD WINAPI Entry(void* param);
  UniqueHandle handle_;
  DWORD id_ = 0;
};
