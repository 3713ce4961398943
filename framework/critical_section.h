// A recursive lock over a Win32 critical section, shared by every subsystem.
#pragma once
#include <windows.h>

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&cs_); }
  // Enter and leave once before deleting: a thread that still holds the
  // section makes the destructor wait until it has left.
  ~CriticalSection() {
    EnterCriticalSection(&cs_);
    LeaveCriticalSection(&cs_);
    DeleteCriticalSection(&cs_);
  }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Lock() { EnterCriticalSection(&cs_); }
  void Unlock() { LeaveCriticalSection(&cs_); }
  bool TryLock() { return TryEnterCriticalSection(&cs_) != FALSE; }

 private:
  CRITICAL_SECTION cs_;
};

// Holds a CriticalSection for the scope.
class ScopedLock {
 public:
  explicit ScopedLock(CriticalSection& cs) : cs_(cs) { cs_.Lock(); }
  ~ScopedLock() { cs_.Unlock(); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  CriticalSection& cs_;
};
