#include "framework/worker_thread.h"

#include <memory>

DWORD WaitPumpingSentMessages(HANDLE handle, DWORD timeoutMs) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    DWORD remaining = INFINITE;
    if (timeoutMs != INFINITE) {
      ULONGLONG elapsed = GetTickCount64() - start;
      if (elapsed >= timeoutMs) return WaitForSingleObject(handle, 0);
      remaining = static_cast<DWORD>(timeoutMs - elapsed);
    }
    // MWMO_INPUTAVAILABLE: also wake for a sent message that is already
    // pending but was noticed earlier (by GetQueueStatus or a PeekMessage
    // for other messages); without it such a message would never be
    // delivered and a worker blocked in SendMessage would never finish.
    DWORD r = MsgWaitForMultipleObjectsEx(1, &handle, remaining, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (r == WAIT_OBJECT_0 || r == WAIT_TIMEOUT || r == WAIT_FAILED) return r;
    // A message was sent to one of our windows: PeekMessage delivers every
    // pending sent message and removes nothing from the posted queue.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

DWORD WINAPI WorkerThread::Entry(void* param) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(param));
  (*body)();
  return 0;
}

bool WorkerThread::Start(std::function<void()> body) {
  if (handle_) return false;
  auto* heap = new std::function<void()>(std::move(body));
  HANDLE h = CreateThread(nullptr, 0, Entry, heap, 0, &id_);
  if (!h) {
    delete heap;
    return false;
  }
  handle_.reset(h);
  return true;
}

bool WorkerThread::IsRunning() const {
  return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

void WorkerThread::Join() {
  if (!handle_) return;
  WaitForSingleObject(handle_.get(), INFINITE);
  handle_.reset();
  id_ = 0;
}

bool WorkerThread::JoinPumping(DWORD timeoutMs) {
  if (!handle_) return true;
  if (WaitPumpingSentMessages(handle_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
  handle_.reset();
  id_ = 0;
  return true;
}
