// The remote panel's manager: the interpreter of the phone's commands
// ("config", "insert", "delete", "modify") and the queue of notify events
// that a sender thread writes to the phone through LinkReader::Current.
//
// Threads: Execute and SendEvent run on the window thread (the stream thread
// waits in the sent WM_LINK_COMMAND meanwhile), so the tree needs no lock.
// The sender thread is owned here: started when an event finds none running,
// it ends when the queue is empty or no link exists, and the next SendEvent
// (or the destructor) joins it. queueLock_ guards the queue and the running
// flag together, so an event queued just as the sender finds the queue empty
// always has a sender; it is never held while writing to the link, nor
// together with the blob store's lock.
//
// Bounds on the phone's commands: a document nested deeper than
// CommandLimits allow or with more descriptions than they allow is dropped
// whole, and so is a "config" or "insert" that would make the tree hold more
// than kMaxTotalCtrls controls (each with up to a few windows; a process has
// 10,000 window handles in all). Events wait for a link in a queue of at
// most kMaxQueuedEvents; past that the oldest is dropped (a click from long
// ago means nothing to the phone any more). An event whose write fails (the
// link not up yet, or just lost) goes back to the head of the queue and waits
// for the next sender, so nothing is lost or reordered; the phone may see it
// twice if the link failed after the frame had left.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/critical_section.h"
#include "framework/worker_thread.h"
#include "panel/core/command_document.h"
#include "panel/core/notify_text.h"

class DUICtrl;

class DUIManager {
 public:
  static constexpr size_t kMaxTotalCtrls = 2000;
  static constexpr size_t kMaxQueuedEvents = 1024;

  // Creates the new root's window where the panel goes (the main dialog's
  // AttachPanel); returns false when it could not.
  using AttachFn = std::function<bool(DUICtrl& root)>;

  explicit DUIManager(AttachFn attach);
  // Stops and joins the sender, then destroys the tree.
  ~DUIManager();
  DUIManager(const DUIManager&) = delete;
  DUIManager& operator=(const DUIManager&) = delete;

  // The manager of the process (the latest constructed that still lives), or null.
  static DUIManager* Instance();

  // Interprets one command document (text in the program's code page).
  void Execute(const std::string& text);
  // Builds the notify text for `ctrl` and queues it for the phone.
  void SendEvent(const DUICtrl& ctrl, const std::string& eventName, const EventAttributes& attributes);

  DUICtrl* root() const { return root_.get(); }
  // The events still waiting for a link, oldest first.
  std::vector<std::string> QueuedEvents() const;

 private:
  bool ApplyConfig(std::vector<CtrlDescription>& descriptions);
  std::vector<std::unique_ptr<DUICtrl>> BuildTree(std::vector<CtrlDescription>& descriptions);
  void InsertCtrls(std::vector<std::unique_ptr<DUICtrl>> controls, int parentId, int posIndex);
  void DeleteCtrl(int parentId, int id);
  void ModifyCtrl(int parentId, int id, std::unique_ptr<AttributeList> attributes);
  // The first control below the root (the root itself too when `withRoot`) with `id`.
  DUICtrl* FindCtrl(int id, bool withRoot) const;
  size_t CountCtrls() const;
  void SenderLoop();

  AttachFn attach_;
  std::unique_ptr<DUICtrl> root_;

  mutable CriticalSection queueLock_;
  std::deque<std::string> queue_;  // guarded by queueLock_
  bool senderRunning_ = false;     // guarded by queueLock_
  bool stopping_ = false;          // guarded by queueLock_
  WorkerThread sender_;            // started and joined on the window thread
};
