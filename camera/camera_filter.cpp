#include "camera/camera_filter.h"

// Replaced by the filter implementation.
HRESULT CreateCameraFilter(const CameraProfile&, IUnknown* outer, REFIID, void** object) {
  if (object) *object = nullptr;
  return outer ? CLASS_E_NOAGGREGATION : E_NOTIMPL;
}
