// The DirectShow video capture source filter of one camera profile. The
// module's class factory makes one per CoCreateInstance.
#pragma once
#include <unknwn.h>
#include <windows.h>

#include "camera/camera_profile.h"

// Creates the filter for `profile` and asks it for `riid`. Aggregation is
// not supported (`outer` must be null). The filter keeps the module loaded
// while it lives (ModuleLock).
HRESULT CreateCameraFilter(const CameraProfile& profile, IUnknown* outer, REFIID riid, void** object);

// The module's count of live objects and server locks: DllCanUnloadNow
// answers S_OK only at zero.
void ModuleLock();
void ModuleUnlock();
LONG ModuleLockCount();
