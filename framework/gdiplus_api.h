// GDI+ for a lean <windows.h>: gdiplus.h needs the COM stream and property
// types that WIN32_LEAN_AND_MEAN leaves out. Include this, not <gdiplus.h>.
// The order matters, so each include stands in a block of its own.
#pragma once
#include <windows.h>

#include <objidl.h>

#include <propidl.h>

#include <gdiplus.h>
