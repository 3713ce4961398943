// The program's entry point.
#include <windows.h>

#include "app/app_entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return RunApplication(instance, showCommand);
}
