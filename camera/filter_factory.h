// The filter reading a section of another name than the program's, for tests
// and the bench (which must not meet a running program's pictures).
#pragma once
#include <unknwn.h>

#include "camera/camera_profile.h"

HRESULT CreateCameraFilterReading(const CameraProfile& profile, const char* sectionName, IUnknown* outer,
                                  REFIID riid, void** object);
