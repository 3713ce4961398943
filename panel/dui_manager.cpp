#include "panel/dui_manager.h"

#include <atomic>

#include "link/link_reader.h"
#include "panel/ctrl_factory.h"
#include "panel/dui_ctrl.h"

namespace {
std::atomic<DUIManager*> g_instance{nullptr};
}  // namespace

DUIManager::DUIManager(AttachFn attach) : attach_(std::move(attach)) {
  g_instance = this;
}

DUIManager::~DUIManager() {
  DUIManager* self = this;
  g_instance.compare_exchange_strong(self, nullptr);
  {
    ScopedLock lock(queueLock_);
    stopping_ = true;
  }
  // The sender checks stopping_ before each message: at most the write in
  // progress finishes (the link's send time-out bounds it, and the stream
  // worker, stopped first, has closed the link by now).
  sender_.Join();
  root_.reset();
}

DUIManager* DUIManager::Instance() {
  return g_instance.load();
}

void DUIManager::Execute(const std::string& text) {
  CommandDocument document;
  if (ParseCommandDocument(text, document) != CommandParse::kOk) return;
  const std::string command = document.command.GetString("name");
  const int parentId = document.command.GetInt("parent_id", -1);

  if (command == "config") {
    ApplyConfig(document.ctrls);
  } else if (command == "insert") {
    // An unknown class takes no position: the known ones go to pos_index,
    // pos_index + 1, ... in document order. Discarded when no parent takes them.
    std::vector<std::unique_ptr<DUICtrl>> controls;
    for (CtrlDescription& description : document.ctrls) {
      std::unique_ptr<DUICtrl> control = CreateCtrl(description.attributes->GetString("class"));
      if (!control) continue;
      control->SetAttributes(std::move(description.attributes));
      controls.push_back(std::move(control));
    }
    if (parentId == -1 || CountCtrls() + controls.size() > kMaxTotalCtrls) return;
    InsertCtrls(std::move(controls), parentId, document.command.GetInt("pos_index", -1));
  } else if (command == "delete") {
    if (parentId == -1) return;
    for (CtrlDescription& description : document.ctrls) {
      int id = description.attributes->GetInt("id", -1);
      if (id != -1) DeleteCtrl(parentId, id);
    }
  } else if (command == "modify") {
    if (parentId == -1) return;
    for (CtrlDescription& description : document.ctrls) {
      int id = description.attributes->GetInt("id", -1);
      if (id != -1) ModifyCtrl(parentId, id, std::move(description.attributes));
    }
  }
}

bool DUIManager::ApplyConfig(std::vector<CtrlDescription>& descriptions) {
  std::vector<std::unique_ptr<DUICtrl>> controls = BuildTree(descriptions);
  if (controls.empty()) return false;
  // Only the first control becomes the root; the others go with `controls`.
  root_.reset();
  root_ = std::move(controls.front());
  if (attach_) attach_(*root_);
  return true;
}

std::vector<std::unique_ptr<DUICtrl>> DUIManager::BuildTree(std::vector<CtrlDescription>& descriptions) {
  std::vector<std::unique_ptr<DUICtrl>> controls;
  for (CtrlDescription& description : descriptions) {
    std::unique_ptr<DUICtrl> control = CreateCtrl(description.attributes->GetString("class"));
    if (!control) continue;
    control->SetAttributes(std::move(description.attributes));
    // Depth is bounded by the document's parse (CommandLimits::kMaxCtrlDepth).
    for (std::unique_ptr<DUICtrl>& child : BuildTree(description.children))
      control->InsertChild(std::move(child), -1);
    controls.push_back(std::move(control));
  }
  return controls;
}

void DUIManager::InsertCtrls(std::vector<std::unique_ptr<DUICtrl>> controls, int parentId, int posIndex) {
  DUICtrl* parent = FindCtrl(parentId, false);
  if (!parent) return;
  int index = posIndex;
  for (std::unique_ptr<DUICtrl>& control : controls) {
    parent->InsertChild(std::move(control), index);
    if (index >= 0) ++index;
  }
}

void DUIManager::DeleteCtrl(int parentId, int id) {
  if (DUICtrl* parent = FindCtrl(parentId, false)) parent->RemoveChild(id);
}

void DUIManager::ModifyCtrl(int parentId, int id, std::unique_ptr<AttributeList> attributes) {
  if (DUICtrl* parent = FindCtrl(parentId, true)) parent->ModifyChild(id, std::move(attributes));
}

DUICtrl* DUIManager::FindCtrl(int id, bool withRoot) const {
  if (!root_) return nullptr;
  if (withRoot && root_->id() == id) return root_.get();
  std::vector<DUICtrl*> below;
  CollectDescendants(*root_, below);
  for (DUICtrl* control : below) {
    if (control->id() == id) return control;
  }
  return nullptr;
}

size_t DUIManager::CountCtrls() const {
  if (!root_) return 0;
  size_t count = 0;
  std::vector<const DUICtrl*> pending{root_.get()};
  std::vector<DUICtrl*> owned;
  while (!pending.empty()) {
    const DUICtrl* control = pending.back();
    pending.pop_back();
    ++count;
    owned.clear();
    control->GetOwnedControls(owned);
    pending.insert(pending.end(), owned.begin(), owned.end());
  }
  return count;
}

void DUIManager::SendEvent(const DUICtrl& ctrl, const std::string& eventName,
                           const EventAttributes& attributes) {
  std::string text = BuildNotifyText(eventName, ctrl.id(), ctrl.parentId(), attributes);
  bool startSender = false;
  {
    ScopedLock lock(queueLock_);
    if (stopping_) return;
    if (queue_.size() >= kMaxQueuedEvents) queue_.pop_front();
    queue_.push_back(std::move(text));
    if (!senderRunning_) startSender = senderRunning_ = true;
  }
  if (!startSender) return;
  // The previous sender cleared the flag as its last act under the lock;
  // joining it here waits at most for its return.
  sender_.Join();
  if (!sender_.Start([this] { SenderLoop(); })) {
    ScopedLock lock(queueLock_);
    senderRunning_ = false;
  }
}

void DUIManager::SenderLoop() {
  for (;;) {
    std::string text;
    {
      ScopedLock lock(queueLock_);
      // Without a link the events stay queued for a later sender.
      if (stopping_ || queue_.empty() || !LinkReader::Current) {
        senderRunning_ = false;
        return;
      }
      text = std::move(queue_.front());
      queue_.pop_front();
    }
    if (LinkReader::Current.WriteMessage(LinkMessageType::Command, text.data(),
                                         static_cast<int32_t>(text.size())))
      continue;
    // The link is not up yet (a reader registers before its handshake) or has
    // just failed: the event goes back to the head of the queue for the next
    // sender, so nothing is lost or reordered.
    ScopedLock lock(queueLock_);
    if (queue_.size() < kMaxQueuedEvents) queue_.push_front(std::move(text));
    senderRunning_ = false;
    return;
  }
}

std::vector<std::string> DUIManager::QueuedEvents() const {
  ScopedLock lock(queueLock_);
  return {queue_.begin(), queue_.end()};
}
