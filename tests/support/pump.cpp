#include "tests/support/pump.h"

#include <algorithm>

#include "framework/handles.h"

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    PumpMessages();
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(10, deadline - now)),
                              QS_ALLINPUT);
  }
}

bool ProcessEnds(DWORD pid, DWORD timeoutMs) {
  UniqueHandle p(OpenProcess(SYNCHRONIZE, FALSE, pid));
  if (!p) return true;  // already gone
  return WaitForSingleObject(p.get(), timeoutMs) == WAIT_OBJECT_0;
}
