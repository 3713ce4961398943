// Bounded waits that keep this thread's messages flowing: a test thread that
// owns windows must dispatch sent and posted messages while it waits for a
// worker, or the worker's SendMessage deadlocks.
#pragma once
#include <windows.h>

#include <functional>

// Dispatches this thread's messages until `done` holds or `timeoutMs`
// passes, waking for every message that arrives and at least every 10 ms to
// re-check `done` (which may depend on other threads). Returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Dispatches every message waiting in this thread's queue.
void PumpMessages();

// Waits (bounded) for a process to end; true when it has ended or is gone.
bool ProcessEnds(DWORD pid, DWORD timeoutMs);
