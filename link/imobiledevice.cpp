#include "link/imobiledevice.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "framework/handles.h"

namespace {

const char* const kLibraryNames[] = {"imobiledevice.dll", "libimobiledevice-1.0.dll", "libimobiledevice.dll"};

std::string ExecutableFolder() {
  char path[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
  if (n == 0 || n >= sizeof(path)) return std::string();
  std::string s(path, n);
  size_t slash = s.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

// Finds "free" of the C runtime that `module` imports, by walking the
// module's import table: a string the library allocated must be released by
// the same runtime's heap. Null when the module imports no "free".
void (*FindImportedFree(HMODULE module))(char*) {
  auto* base = reinterpret_cast<const BYTE*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0 || dir.Size == 0) return nullptr;
  for (auto* imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
       imp->Name != 0; ++imp) {
    DWORD thunkRva = imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk;
    if (thunkRva == 0) continue;
    for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + thunkRva);
         thunk->u1.AddressOfData != 0; ++thunk) {
      if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "free") != 0) continue;
      HMODULE crt = GetModuleHandleA(reinterpret_cast<const char*>(base + imp->Name));
      if (!crt) return nullptr;
      return reinterpret_cast<void (*)(char*)>(reinterpret_cast<void*>(GetProcAddress(crt, "free")));
    }
  }
  return nullptr;
}

// Binds every entry point from `module`; false when one is missing.
bool Bind(const UniqueModule& module, IMobileDeviceApi& api) {
#define VELA_BIND(fn)                                        \
  api.fn = module.Proc<decltype(IMobileDeviceApi::fn)>(#fn); \
  if (!api.fn) return false;
  VELA_BIND(idevice_get_device_list)
  VELA_BIND(idevice_device_list_free)
  VELA_BIND(idevice_new)
  VELA_BIND(idevice_free)
  VELA_BIND(idevice_connect)
  VELA_BIND(idevice_disconnect)
  VELA_BIND(idevice_connection_send)
  VELA_BIND(idevice_connection_receive_timeout)
  VELA_BIND(lockdownd_client_new_with_handshake)
  VELA_BIND(lockdownd_client_free)
  VELA_BIND(lockdownd_get_device_name)
#undef VELA_BIND
  api.free_string = module.Proc<void (*)(char*)>("pinvoke_free_string");
  if (!api.free_string) api.free_string = FindImportedFree(module.get());
  return true;
}

// The one binding of the process. The module stays loaded until static
// destruction at exit, after every worker thread has been joined.
struct Binding {
  UniqueModule module;
  IMobileDeviceApi api{};
  const char* name = "";
  bool ok = false;

  Binding() {
    const std::string folder = ExecutableFolder();
    if (folder.empty()) return;
    for (const char* candidate : kLibraryNames) {
      std::string path = folder + candidate;
      if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
      UniqueModule m(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
      if (!m) continue;
      IMobileDeviceApi bound{};
      if (!Bind(m, bound)) continue;  // m unloads here
      module = std::move(m);
      api = bound;
      name = candidate;
      ok = true;
      return;
    }
  }
};

const Binding& TheBinding() {
  // Function-local static: initialised once, thread-safely, on first use.
  static Binding binding;
  return binding;
}

}  // namespace

const IMobileDeviceApi* LoadIMobileDevice() {
  const Binding& b = TheBinding();
  return b.ok ? &b.api : nullptr;
}

const char* LoadedIMobileDeviceName() {
  return TheBinding().name;
}
