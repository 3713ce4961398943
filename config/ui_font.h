// The one shared interface font ("微软雅黑") by pixel size.
#pragma once
#include <windows.h>

// The font `pixelSize` pixels high, created on first use and kept for the
// whole run. Shared by all callers on any thread: never delete it.
HFONT GetUiFont(int pixelSize);
