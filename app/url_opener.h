// How the dialogs open a web page: the shell's "open" in the program; tests
// pass their own opener and record the addresses instead of starting a browser.
#pragma once
#include <functional>
#include <string>

using UrlOpener = std::function<void(const std::string& url)>;

// ShellExecuteA "open" with SW_SHOW; a failure is not reported.
UrlOpener ShellUrlOpener();

// The maker's pages the dialogs open when no configured address applies.
constexpr const char* kTutorialPageUrl = "http://www.vela.example/assistant/tutorial.html#ios";
constexpr const char* kProductPageUrl = "http://www.vela.example/camera/";
