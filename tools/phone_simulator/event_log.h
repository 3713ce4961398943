// The simulator's printed events: one line each on stdout, flushed at once so
// a test or script reading the pipe sees every event as it happens, and
// optionally appended to a log file.
#pragma once
#include <cstdio>
#include <mutex>
#include <string>

namespace phone_sim {

class EventLog {
 public:
  EventLog() = default;
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  // Opens FILE for appending; false if it cannot be opened.
  bool OpenFile(const std::string& path);
  // Prints one line (a trailing newline is added). Safe from any thread.
  void Line(const std::string& text);

  // Makes `text` printable on one line: CR, LF and backslash escaped.
  static std::string OneLine(const std::string& text);

 private:
  std::mutex mutex_;
  FILE* file_ = nullptr;
};

}  // namespace phone_sim
