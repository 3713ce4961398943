// The devices of the video input category, as a capture application lists
// them: each one's friendly name and moniker. Used by the camera viewer to
// open a camera by name and by the registration tests to see what is listed.
#pragma once
#include <dshow.h>

#include <string>

#include "camera/filter_com.h"

// Calls `visit(name, moniker)` for each listed device until it returns true;
// returns whether it did. An empty category visits nothing.
template <class Visit>
bool VisitVideoInputs(Visit visit) {
  ICreateDevEnum* rawDevices = nullptr;
  if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                              reinterpret_cast<void**>(&rawDevices))))
    return false;
  ComRef<ICreateDevEnum> devices(rawDevices);
  IEnumMoniker* rawMonikers = nullptr;
  // S_FALSE: the category is empty.
  if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &rawMonikers, 0) != S_OK) return false;
  ComRef<IEnumMoniker> monikers(rawMonikers);
  for (IMoniker* raw = nullptr; monikers->Next(1, &raw, nullptr) == S_OK;) {
    ComRef<IMoniker> moniker(raw);
    IPropertyBag* rawBag = nullptr;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&rawBag))))
      continue;
    ComRef<IPropertyBag> bag(rawBag);
    VARIANT name;
    VariantInit(&name);
    std::wstring friendly;
    if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR) friendly = name.bstrVal;
    VariantClear(&name);
    if (!friendly.empty() && visit(friendly, moniker.get())) return true;
  }
  return false;
}
