// GDI+ for a lean <windows.h>: gdiplus.h needs the COM stream and property
// types that WIN32_LEAN_AND_MEAN leaves out. Include this, not <gdiplus.h>.
#pragma once
// clang-format off: the order matters.
#include <gdiplus.h>
#include <objidl.h>
#include <propidl.h>
#include <windows.h>
// clang-format on
