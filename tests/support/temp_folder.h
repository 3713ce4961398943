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

// Whole-file helpers for scenario, record and configuration files.
std::string ReadFileBytes(const std::string& file);
void WriteFileBytes(const std::string& file, const std::string& bytes);
