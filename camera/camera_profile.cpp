#include "camera/camera_profile.h"

// {6B3E2F10-5A1C-4C7E-9D2A-8E1F3C4B5A01} and {...02}: generated once for
// these cameras; never change them, applications remember cameras by them.
const CameraProfile kLandscapeCamera{
    {0x6b3e2f10, 0x5a1c, 0x4c7e, {0x9d, 0x2a, 0x8e, 0x1f, 0x3c, 0x4b, 0x5a, 0x01}},
    L"Vela直播助手（横屏）",
    1280,
    720,
    "lmcam_horizontal.dll"};

const CameraProfile kPortraitCamera{
    {0x6b3e2f10, 0x5a1c, 0x4c7e, {0x9d, 0x2a, 0x8e, 0x1f, 0x3c, 0x4b, 0x5a, 0x02}},
    L"Vela直播助手（竖屏）",
    720,
    1280,
    "lmcam_vertical.dll"};
