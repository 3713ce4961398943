// The two cameras the program offers to streaming software: which class id,
// name and picture size each module registers and serves. One code base
// builds both modules; each module file is compiled for one profile.
#pragma once
#include <windows.h>

struct CameraProfile {
  CLSID clsid;                  // the filter's class id (ours, fixed)
  const wchar_t* friendlyName;  // what applications list
  int width;
  int height;
  const char* moduleName;  // the module file the program registers
};

// "Vela直播助手（横屏）", 1280 x 720, "lmcam_horizontal.dll".
extern const CameraProfile kLandscapeCamera;
// "Vela直播助手（竖屏）", 720 x 1280, "lmcam_vertical.dll".
extern const CameraProfile kPortraitCamera;
