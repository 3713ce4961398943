// Saving what is on the screen as a PNG, and checking a saved picture.
#pragma once
#include <windows.h>

#include <string>

// Copies the screen rectangle `area` and writes it to `path` as a PNG.
bool SaveScreenAreaAsPng(const RECT& area, const std::wstring& path);

// Loads the PNG at `path` and checks that it has the expected size and is
// not blank (at least `minColours` distinct colours). Explains failures in `why`.
bool CheckScreenshot(const std::wstring& path, int width, int height, int minColours, std::string* why);
