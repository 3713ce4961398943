// The program's own pictures that panel items draw on every tile (the
// selection marks, the round mask, the selected frame), decoded once per run
// and shared: a panel of a few hundred tiles would otherwise decode the same
// PNG resources a few hundred times on the window thread, each time the
// phone rebuilds it. Window thread only; the bitmaps live to the end of the
// run.
#pragma once
#include <windows.h>

// The PNG resource `id` as a 32-bit bitmap with its alpha; null when the
// resource is missing. Not owned by the caller.
HBITMAP DecorationPicture(int id);
