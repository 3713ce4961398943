#include "camera/camera_filter.h"

#include <new>

#include "camera/filter_camera.h"
#include "camera/filter_factory.h"
#include "video/core/frame_section_layout.h"

HRESULT CreateCameraFilterReading(const CameraProfile& profile, const char* sectionName, IUnknown* outer,
                                  REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* filter = new (std::nothrow) CameraFilter(profile, sectionName);
  if (!filter) return E_OUTOFMEMORY;
  const HRESULT hr = filter->QueryInterface(riid, object);
  filter->Release();
  return hr;
}

HRESULT CreateCameraFilter(const CameraProfile& profile, IUnknown* outer, REFIID riid, void** object) {
  return CreateCameraFilterReading(profile, frame_section::kName, outer, riid, object);
}
