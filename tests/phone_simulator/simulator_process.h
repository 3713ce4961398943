// Runs the phone simulator as a child process and follows its printed lines.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

class SimulatorProcess {
 public:
  SimulatorProcess() = default;
  ~SimulatorProcess();  // SIGKILL and reap if still running
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  // Starts PHONE_SIMULATOR_PATH with `args`; false if it could not be spawned.
  bool Start(const std::vector<std::string>& args);
  // Starts with "--port 0" plus `args` and waits for "listening port=N".
  // Returns the port, or 0 when the simulator did not come up in time.
  int StartListening(const std::vector<std::string>& args);

  // The next printed line, waiting at most timeout_ms; false on time-out or end of output.
  bool NextLine(std::string* line, int timeout_ms);
  // Skips lines until one starts with `prefix`; returns it in *line.
  bool WaitForLine(const std::string& prefix, std::string* line = nullptr, int timeout_ms = 10000);
  // Every line read so far (for failure messages).
  const std::string& Transcript() const { return transcript_; }

  // Reads the output to its end and reaps the process; returns the exit
  // code, or -1 when it did not exit in time or died from a signal.
  int WaitForExit(int timeout_ms);

  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int stdout_fd_ = -1;
  std::string buffer_;
  std::string transcript_;
};
