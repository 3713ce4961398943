// The in-process COM server of one camera module: what its four exported
// entries do, for the camera profile the module file was built for.
#pragma once
#include <windows.h>

#include "camera/camera_profile.h"

// The class factory of `profile`'s filter when `clsid` is its class id,
// else CLASS_E_CLASSNOTAVAILABLE. The factory keeps the module loaded while
// it lives.
HRESULT GetCameraClassObject(const CameraProfile& profile, REFCLSID clsid, REFIID riid, void** object);

// Writes the server's class key (InprocServer32 = the file of `module`,
// ThreadingModel "Both") and registers the filter in the video input device
// category under the profile's friendly name, with one video output pin.
// Registering again overwrites the same entries.
HRESULT RegisterCameraServer(const CameraProfile& profile, HMODULE module);

// Removes both again; entries that are already gone are no error.
HRESULT UnregisterCameraServer(const CameraProfile& profile);
