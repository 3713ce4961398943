#include "tools/phone_simulator/link_server.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace phone_sim {

LinkServer::LinkServer(const SimulatorOptions& options, EventLog& log) : options_(options), log_(log) {}

LinkServer::~LinkServer() {
  if (session_) session_->Stop();
  session_.reset();  // joins
}

int LinkServer::Run() {
  std::string error;
  UniqueFd listener = ListenLoopback(options_.port, &error);
  if (!listener.valid()) {
    log_.Line("exiting reason=" + error);
    return 2;
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  UniqueFd signal_fd(::signalfd(-1, &signals, SFD_CLOEXEC));
  session_done_ = UniqueFd(::eventfd(0, EFD_CLOEXEC));
  if (!signal_fd.valid() || !session_done_.valid()) {
    log_.Line(std::string("exiting reason=") + std::strerror(errno));
    return 2;
  }
  log_.Line("listening port=" + std::to_string(LocalPort(listener.get())));

  using Clock = std::chrono::steady_clock;
  Clock::time_point idle_since = Clock::now();
  bool read_stdin = options_.stdin_commands;
  std::string input;
  for (;;) {
    // Fixed slots: 0 signals, 1 session end, 2 standard input (fd -1 when
    // unused: poll skips it), 3 the listener. While a desktop is served,
    // further ones wait in the listen backlog.
    pollfd fds[4] = {{signal_fd.get(), POLLIN, 0},
                     {session_done_.get(), POLLIN, 0},
                     {read_stdin ? STDIN_FILENO : -1, POLLIN, 0},
                     {listener.get(), POLLIN, 0}};
    nfds_t count = session_ ? 3 : 4;
    int timeout_ms = -1;
    if (!session_ && options_.exit_after_idle_s > 0) {
      auto left = std::chrono::duration<double>(options_.exit_after_idle_s) - (Clock::now() - idle_since);
      timeout_ms = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(left).count()) + 1;
      if (timeout_ms <= 0) {
        log_.Line("exiting reason=idle");
        return 0;
      }
    }
    int ready = ::poll(fds, count, timeout_ms);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) {
      log_.Line(std::string("exiting reason=poll: ") + std::strerror(errno));
      return 2;
    }
    if (fds[0].revents & POLLIN) {
      signalfd_siginfo info{};
      if (::read(signal_fd.get(), &info, sizeof info) < 0) info.ssi_signo = 0;
      if (session_) {
        session_->Stop();
        session_.reset();
      }
      log_.Line(std::string("exiting reason=") + (info.ssi_signo == SIGINT ? "SIGINT" : "SIGTERM"));
      return 0;
    }
    if (fds[1].revents & POLLIN) {
      uint64_t value = 0;
      if (::read(session_done_.get(), &value, sizeof value) < 0) value = 0;
      session_.reset();  // the session thread has finished: this joins it
      idle_since = Clock::now();
      continue;
    }
    if (fds[2].revents & (POLLIN | POLLHUP)) {
      char chunk[4096];
      ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
      if (n <= 0) {
        read_stdin = false;  // end of input: keep serving
      } else {
        input.append(chunk, static_cast<size_t>(n));
        if (input.size() > (16u << 20) && input.find('\n') == std::string::npos) {
          log_.Line("error input line longer than 16 MiB dropped");
          input.clear();
        }
        for (size_t newline; (newline = input.find('\n')) != std::string::npos;) {
          std::string line = input.substr(0, newline);
          input.erase(0, newline + 1);
          if (!line.empty() && line.back() == '\r') line.pop_back();
          if (!line.empty()) HandleInputLine(line);
        }
      }
    }
    if (!session_ && (fds[3].revents & POLLIN)) {
      UniqueFd client(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (!client.valid()) continue;
      int done_fd = session_done_.get();
      session_ = std::make_unique<LinkSession>(std::move(client), options_, log_, [done_fd] {
        uint64_t one = 1;
        if (::write(done_fd, &one, sizeof one) < 0) {
          // An eventfd write only fails on counter overflow; nothing to do.
        }
      });
      session_->Start();
    }
  }
}

void LinkServer::HandleInputLine(const std::string& line) {
  if (!session_ || !session_->Greeted()) {
    log_.Line("error no desktop connected, input dropped: " + EventLog::OneLine(line));
    return;
  }
  static const std::string kBlobDirective = "@blob ";
  if (line.compare(0, kBlobDirective.size(), kBlobDirective) == 0) {
    std::string rest = line.substr(kBlobDirective.size());
    size_t space = rest.find(' ');
    if (space == 0 || space == std::string::npos || space + 1 == rest.size()) {
      log_.Line("error usage: @blob NAME FILE");
      return;
    }
    session_->SendBlobFile(rest.substr(0, space), rest.substr(space + 1));
    return;
  }
  session_->SendCommand(line);
}

}  // namespace phone_sim
