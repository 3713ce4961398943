#include "app/url_opener.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

UrlOpener ShellUrlOpener() {
  return [](const std::string& url) {
    ::ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOW);
  };
}
