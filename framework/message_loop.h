// The application module and the per-thread message loop with message
// filters and idle handlers.
#pragma once
#include <windows.h>

#include <map>
#include <vector>

#include "framework/critical_section.h"

// Sees each message before it is translated and dispatched; returning TRUE
// takes the message (typically IsDialogMessage for a modeless dialog).
class CMessageFilter {
 public:
  virtual ~CMessageFilter() = default;
  virtual BOOL PreTranslateMessage(MSG* msg) = 0;
};

// Called when the thread's queue has become empty.
class CIdleHandler {
 public:
  virtual ~CIdleHandler() = default;
  // Return TRUE to be called again before the loop waits for a message.
  virtual BOOL OnIdle() = 0;
};

class CMessageLoop {
 public:
  virtual ~CMessageLoop() = default;

  bool AddMessageFilter(CMessageFilter* filter);
  bool RemoveMessageFilter(CMessageFilter* filter);
  bool AddIdleHandler(CIdleHandler* handler);
  bool RemoveIdleHandler(CIdleHandler* handler);

  // Runs until WM_QUIT and returns its wParam. While the queue is empty the
  // idle handlers run (again while any of them asks for more); a message
  // other than mouse moves, paints and the caret timer re-arms idling.
  int Run();

  // Filters see the message newest first; the first TRUE wins.
  virtual BOOL PreTranslateMessage(MSG* msg);
  // One idle round over all handlers; TRUE if any wants another round.
  virtual BOOL OnIdle(int idleCount);

  static bool IsIdleMessage(const MSG* msg);

 private:
  std::vector<CMessageFilter*> filters_;
  std::vector<CIdleHandler*> idleHandlers_;
};

// The process-wide module: the instance handle for windows and resources
// and the table of message loops by thread.
class CAppModule {
 public:
  HRESULT Init(HINSTANCE instance);
  void Term();

  HINSTANCE GetModuleInstance() const { return instance_ ? instance_ : GetModuleHandleA(nullptr); }
  HINSTANCE GetResourceInstance() const { return GetModuleInstance(); }

  // Registers a loop for the calling thread (one per thread).
  bool AddMessageLoop(CMessageLoop* loop);
  bool RemoveMessageLoop();
  CMessageLoop* GetMessageLoop(DWORD threadId = GetCurrentThreadId()) const;

 private:
  HINSTANCE instance_ = nullptr;
  mutable CriticalSection lock_;
  std::map<DWORD, CMessageLoop*> loops_;
};

// The one module of the process.
CAppModule& AppModule();
