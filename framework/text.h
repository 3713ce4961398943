// UTF-8 text for GDI. The program's code page is UTF-8, but GDI's A text
// functions do not follow it, so every string is drawn with the W functions,
// converted at the call.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// DrawTextW of UTF-8 text; returns DrawTextW's result (the text height).
int DrawTextUtf8(HDC dc, std::string_view text, RECT* rc, UINT format);
// TextOutW of UTF-8 text at (x, y).
bool TextOutUtf8(HDC dc, int x, int y, std::string_view text);
// GetTextExtentPoint32W of UTF-8 text with the DC's current font.
SIZE MeasureTextUtf8(HDC dc, std::string_view text);
