// RAII owners for kernel handles, modules and icons.
#pragma once
#include <windows.h>

#include "framework/unique_owner.h"

struct KernelHandleTraits {
  // Both null and INVALID_HANDLE_VALUE count as empty.
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Release(HANDLE h) { CloseHandle(h); }
};
// Owns a kernel handle (thread, event, process, pipe, file, mapping).
using UniqueHandle = UniqueOwner<HANDLE, KernelHandleTraits>;

struct ModuleTraits {
  static bool IsValid(HMODULE m) { return m != nullptr; }
  static void Release(HMODULE m) { FreeLibrary(m); }
};
// Owns a module from LoadLibrary.
class UniqueModule : public UniqueOwner<HMODULE, ModuleTraits> {
 public:
  using UniqueOwner::UniqueOwner;
  // Typed GetProcAddress; null when the module or the export is missing.
  template <class Fn>
  Fn Proc(const char* name) const {
    return valid() ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(get(), name))) : nullptr;
  }
};

struct IconTraits {
  static bool IsValid(HICON h) { return h != nullptr; }
  static void Release(HICON h) { DestroyIcon(h); }
};
// Owns an icon from LoadImage/CreateIcon.
using UniqueIcon = UniqueOwner<HICON, IconTraits>;
