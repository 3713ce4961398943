#include "framework/message_loop.h"

#include <algorithm>

namespace {
template <class T>
bool AddUnique(std::vector<T*>& list, T* item) {
  if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
  list.push_back(item);
  return true;
}
template <class T>
bool RemoveItem(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}
constexpr UINT kCaretBlinkTimer = 0x0118;
}  // namespace

bool CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
  return AddUnique(filters_, filter);
}
bool CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
  return RemoveItem(filters_, filter);
}
bool CMessageLoop::AddIdleHandler(CIdleHandler* handler) {
  return AddUnique(idleHandlers_, handler);
}
bool CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
  return RemoveItem(idleHandlers_, handler);
}

BOOL CMessageLoop::PreTranslateMessage(MSG* msg) {
  // Copy: a filter may remove itself (its window closing) while we iterate.
  std::vector<CMessageFilter*> filters(filters_);
  for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
    if ((*it)->PreTranslateMessage(msg)) return TRUE;
  }
  return FALSE;
}

BOOL CMessageLoop::OnIdle(int /*idleCount*/) {
  std::vector<CIdleHandler*> handlers(idleHandlers_);
  BOOL more = FALSE;
  for (CIdleHandler* h : handlers) {
    if (h->OnIdle()) more = TRUE;
  }
  return more;
}

bool CMessageLoop::IsIdleMessage(const MSG* msg) {
  switch (msg->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case kCaretBlinkTimer:
      return false;
  }
  return true;
}

int CMessageLoop::Run() {
  MSG msg{};
  bool doIdle = true;
  int idleCount = 0;
  for (;;) {
    while (doIdle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) doIdle = false;
    }
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) continue;  // invalid window handle in a filter: keep going
    if (!got) break;          // WM_QUIT
    if (!PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (IsIdleMessage(&msg)) {
      doIdle = true;
      idleCount = 0;
    }
  }
  return static_cast<int>(msg.wParam);
}

HRESULT CAppModule::Init(HINSTANCE instance) {
  instance_ = instance;
  return S_OK;
}

void CAppModule::Term() {
  ScopedLock hold(lock_);
  loops_.clear();
  instance_ = nullptr;
}

bool CAppModule::AddMessageLoop(CMessageLoop* loop) {
  ScopedLock hold(lock_);
  return loop && loops_.emplace(GetCurrentThreadId(), loop).second;
}

bool CAppModule::RemoveMessageLoop() {
  ScopedLock hold(lock_);
  return loops_.erase(GetCurrentThreadId()) > 0;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const {
  ScopedLock hold(lock_);
  auto it = loops_.find(threadId);
  return it == loops_.end() ? nullptr : it->second;
}

CAppModule& AppModule() {
  static CAppModule module;
  return module;
}
