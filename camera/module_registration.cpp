// Self-registration of a camera module: the COM class key that lets
// CoCreateInstance find the module, and the filter's entry in the video
// input device category that capture applications enumerate.
#include <dshow.h>

#include <string>

#include "camera/module_server.h"
#include "framework/unique_owner.h"

namespace {

struct RegKeyTraits {
  static bool IsValid(HKEY key) { return key != nullptr; }
  static void Release(HKEY key) { RegCloseKey(key); }
};
using UniqueRegKey = UniqueOwner<HKEY, RegKeyTraits>;

void ReleaseMapper(IFilterMapper2* mapper) {
  mapper->Release();
}
using MapperOwner = UniqueOwner<IFilterMapper2*, ReleasedBy<IFilterMapper2, ReleaseMapper>>;

// COM for the calling thread unless the caller has it already (in either
// apartment model: a changed mode means COM is initialised and usable).
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

std::wstring ClassKeyPath(const CLSID& clsid) {
  wchar_t text[40] = {};
  StringFromGUID2(clsid, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LSTATUS CreateKey(const std::wstring& path, UniqueRegKey& key) {
  HKEY raw = nullptr;
  LSTATUS status =
      RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr);
  key.reset(raw);
  return status;
}

std::wstring ModulePath(HMODULE module) {
  std::wstring path(32768, L'\0');
  DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length < path.size() ? length : 0);
  return path;
}

HRESULT WriteClassKey(const CameraProfile& profile, HMODULE module) {
  const std::wstring path = ModulePath(module);
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  UniqueRegKey classKey, serverKey;
  LSTATUS status = CreateKey(ClassKeyPath(profile.clsid), classKey);
  if (status == ERROR_SUCCESS) status = SetString(classKey.get(), nullptr, profile.friendlyName);
  if (status == ERROR_SUCCESS)
    status = CreateKey(ClassKeyPath(profile.clsid) + L"\\InprocServer32", serverKey);
  if (status == ERROR_SUCCESS) status = SetString(serverKey.get(), nullptr, path);
  if (status == ERROR_SUCCESS) status = SetString(serverKey.get(), L"ThreadingModel", L"Both");
  return HRESULT_FROM_WIN32(status);
}

HRESULT CreateMapper(MapperOwner& mapper) {
  IFilterMapper2* raw = nullptr;
  HRESULT result = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                    reinterpret_cast<void**>(&raw));
  mapper.reset(raw);
  return result;
}

// One output pin that captures video; applications look no further than the
// category and the friendly name, the pin's formats come from the filter.
HRESULT RegisterInCategory(IFilterMapper2* mapper, const CameraProfile& profile) {
  const REGPINTYPES video{&MEDIATYPE_Video, &MEDIASUBTYPE_NULL};
  REGFILTERPINS2 pin{};
  pin.dwFlags = REG_PINFLAG_B_OUTPUT;
  pin.cInstances = 1;
  pin.nMediaTypes = 1;
  pin.lpMediaType = &video;
  pin.clsPinCategory = &PIN_CATEGORY_CAPTURE;
  REGFILTER2 filter{};
  filter.dwVersion = 2;
  filter.dwMerit = MERIT_DO_NOT_USE;
  filter.cPins2 = 1;
  filter.rgPins2 = &pin;
  return mapper->RegisterFilter(profile.clsid, profile.friendlyName, nullptr, &CLSID_VideoInputDeviceCategory,
                                nullptr, &filter);
}

bool IsAlreadyGone(HRESULT result) {
  return result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || result == VFW_E_NOT_FOUND;
}

}  // namespace

HRESULT RegisterCameraServer(const CameraProfile& profile, HMODULE module) {
  ComScope com;
  HRESULT result = WriteClassKey(profile, module);
  MapperOwner mapper;
  if (SUCCEEDED(result)) result = CreateMapper(mapper);
  if (SUCCEEDED(result)) result = RegisterInCategory(mapper.get(), profile);
  if (FAILED(result)) UnregisterCameraServer(profile);  // no half-registered camera
  return result;
}

HRESULT UnregisterCameraServer(const CameraProfile& profile) {
  ComScope com;
  MapperOwner mapper;
  HRESULT result = CreateMapper(mapper);
  if (SUCCEEDED(result)) {
    result = mapper.get()->UnregisterFilter(&CLSID_VideoInputDeviceCategory, nullptr, profile.clsid);
    if (IsAlreadyGone(result)) result = S_OK;
  }
  LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyPath(profile.clsid).c_str());
  if (SUCCEEDED(result) && status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    result = HRESULT_FROM_WIN32(status);
  }
  return result;
}
