// A fresh folder under %TEMP% for one test, removed with its contents.
#pragma once
#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // With a trailing backslash.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A path of the build tree as a Windows program sees it: the tree is built on
// Linux, so /work/x is Z:\work\x under Wine; other paths only get backslashes.
std::string WinePath(std::string path);

// Whole-file helpers for scenario, record and configuration files.
std::string ReadFileBytes(const std::string& file);
void WriteFileBytes(const std::string& file, const std::string& bytes);
