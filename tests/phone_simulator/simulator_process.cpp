#include "tests/phone_simulator/simulator_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

extern char** environ;

namespace {
using Clock = std::chrono::steady_clock;
int MsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}
}  // namespace

SimulatorProcess::~SimulatorProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (stdout_fd_ >= 0) ::close(stdout_fd_);
}

bool SimulatorProcess::Start(const std::vector<std::string>& args) {
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  std::vector<std::string> all = {PHONE_SIMULATOR_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  const int rc = ::posix_spawn(&pid_, PHONE_SIMULATOR_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_fds[1]);
  stdout_fd_ = pipe_fds[0];
  if (rc != 0) pid_ = -1;
  return rc == 0;
}

int SimulatorProcess::StartListening(const std::vector<std::string>& args) {
  std::vector<std::string> all = {"--port", "0"};
  all.insert(all.end(), args.begin(), args.end());
  std::string line;
  if (!Start(all) || !WaitForLine("listening port=", &line)) return 0;
  return std::atoi(line.c_str() + line.find('=') + 1);
}

bool SimulatorProcess::NextLine(std::string* line, int timeout_ms) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const size_t newline = buffer_.find('\n');
    if (newline != std::string::npos) {
      *line = buffer_.substr(0, newline);
      buffer_.erase(0, newline + 1);
      transcript_ += *line + "\n";
      return true;
    }
    pollfd p{stdout_fd_, POLLIN, 0};
    if (stdout_fd_ < 0 || ::poll(&p, 1, MsLeft(deadline)) <= 0) return false;
    char chunk[4096];
    const ssize_t n = ::read(stdout_fd_, chunk, sizeof chunk);
    if (n <= 0) {
      ::close(stdout_fd_);
      stdout_fd_ = -1;
      return false;
    }
    buffer_.append(chunk, static_cast<size_t>(n));
  }
}

bool SimulatorProcess::WaitForLine(const std::string& prefix, std::string* line, int timeout_ms) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  std::string text;
  while (NextLine(&text, MsLeft(deadline)))
    if (text.compare(0, prefix.size(), prefix) == 0) {
      if (line) *line = text;
      return true;
    }
  return false;
}

int SimulatorProcess::WaitForExit(int timeout_ms) {
  // The simulator's stdout ends only when it exits.
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  std::string ignored;
  while (stdout_fd_ >= 0)
    if (!NextLine(&ignored, MsLeft(deadline)) && stdout_fd_ >= 0) return -1;  // time-out
  int status = 0;
  if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_) return -1;
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
