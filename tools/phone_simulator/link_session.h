// One desktop connection, from the phone's side: answers the greeting, then
// streams video (and any configured commands) on the video thread while the
// session thread reads and prints what the desktop sends.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/phone_simulator/event_log.h"
#include "tools/phone_simulator/panel_model.h"
#include "tools/phone_simulator/simulator_options.h"
#include "tools/phone_simulator/socket_io.h"

namespace phone_sim {

class VideoSource;

class LinkSession {
 public:
  // `on_finished` runs on the session thread just before it ends (after the
  // video thread has been joined); the owner then calls Join.
  LinkSession(UniqueFd socket, const SimulatorOptions& options, EventLog& log,
              std::function<void()> on_finished);
  ~LinkSession();  // Stop + Join
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;

  void Start();
  // Ends the session from any thread: unblocks the reader, wakes the video thread.
  void Stop();
  void Join();

  // True once the greeting is complete; frames are refused before that.
  bool Greeted() const { return greeted_.load(); }

  // Writes one whole frame; frames from different threads never interleave.
  // False before the greeting is complete, once the link has failed or while
  // the session is stopping.
  bool SendFrame(uint16_t type, const uint8_t* payload, size_t length);
  bool SendCommand(const std::string& utf8_xml);
  // A Blob: the name in a 255-byte NUL-padded field, then the data.
  bool SendBlob(const std::string& name, const std::vector<uint8_t>& data);
  // Reads FILE and sends it as a Blob; false (with an "error" line) when unreadable.
  bool SendBlobFile(const std::string& name, const std::string& path);

 private:
  using Clock = std::chrono::steady_clock;

  void SessionThread();
  bool Handshake();
  void ReadLoop();
  // The video thread (link_session_video.cpp): opening items, then frames at
  // their times, with commands, turns and faults falling due in between.
  struct VideoSchedule;
  enum class FrameWait { kFrameDue, kCutFrame, kEnded };
  void VideoThread();
  VideoSchedule MakeSchedule() const;
  bool OpenVideo(VideoSource& source);
  bool SendOpeningItems(const VideoSchedule& schedule);
  FrameWait WaitForFrame(Clock::time_point due, VideoSchedule& schedule, VideoSource& source);
  void SendOversizeFault();
  void SendCutFrame(const std::vector<uint8_t>& access_unit);
  void EndWithEncoderError(const std::string& error);
  // Waits until `deadline` or Stop; false when stopping.
  bool WaitUntil(Clock::time_point deadline);
  // Blocks until Stop (the link stays open but this side sends nothing more).
  void WaitForStop();
  void SendCommands();
  // The panel's pictures and its "config"; false when the session is ending.
  bool SendPanel();
  // Prints the desktop's command and, with the panel on, sends the phone's answer.
  void HandleCommand(const std::string& utf8);
  void Shutdown();
  std::string ConfigXml() const;

  UniqueFd socket_;
  const SimulatorOptions& options_;
  EventLog& log_;
  std::function<void()> on_finished_;
  std::unique_ptr<PanelModel> panel_;  // null with the panel off

  std::thread session_thread_;
  std::thread video_thread_;  // started and joined by the session thread

  std::mutex send_mutex_;  // one whole frame at a time
  std::mutex wait_mutex_;
  std::condition_variable wake_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> shut_down_{false};
  std::atomic<bool> greeted_{false};
  std::string end_reason_;  // written by the thread that ends the link first
  std::mutex reason_mutex_;
  void SetEndReason(const std::string& reason);
};

}  // namespace phone_sim
