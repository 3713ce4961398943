// The program's start-up and shutdown around the main window's message loop.
#pragma once
#include <windows.h>

// Initialises the platform libraries, runs the main dialog until it closes
// and tears everything down again; returns the exit code of the loop.
int RunApplication(HINSTANCE instance, int showCommand);
