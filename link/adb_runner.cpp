#include "link/adb_runner.h"

#include <atomic>
#include <cstdio>

#include "config/core/app_globals.h"
#include "link/core/adb_output.h"

namespace {

// Output is read in chunks of at most this many bytes (plus room for a NUL).
constexpr DWORD kChunkBytes = 1023;
// The output pipe's buffer: adb's answers are a few KiB at most.
constexpr DWORD kPipeBufferBytes = 64 * 1024;

std::string ExecutableFolder() {
  char path[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
  if (n == 0 || n >= sizeof(path)) return std::string();
  return FolderOfPath(std::string(path, n));
}

bool IsAbsolutePath(const std::string& p) {
  return (p.size() >= 2 && p[1] == ':') || (!p.empty() && (p[0] == '\\' || p[0] == '/'));
}

// The executable named by the first token of `commandLine`, resolved against
// the program's folder when it is relative.
std::string ResolveExecutable(const std::string& commandLine) {
  std::string exe;
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t end = commandLine.find('"', 1);
    exe = commandLine.substr(1, end == std::string::npos ? std::string::npos : end - 1);
  } else {
    exe = commandLine.substr(0, commandLine.find_first_of(" \t"));
  }
  if (exe.empty() || IsAbsolutePath(exe)) return exe;
  std::string folder = ProgramFolder.empty() ? ExecutableFolder() : ProgramFolder;
  return folder + exe;
}

// A name no other pipe of this or another process uses.
std::string UniquePipeName() {
  static std::atomic<unsigned> counter{0};
  char name[96];
  std::snprintf(name, sizeof(name), "\\\\.\\pipe\\vela-adb-%lu-%u-%llu", GetCurrentProcessId(), counter++,
                static_cast<unsigned long long>(GetTickCount64()));
  return name;
}

// A process attribute list naming the only handles a child may inherit.
// get() is null when the list could not be built; the child then inherits
// every inheritable handle, as without a list.
class HandleInheritList {
 public:
  explicit HandleInheritList(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    if (size == 0) return;
    storage_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
    if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                   handles_.size() * sizeof(HANDLE), nullptr, nullptr)) {
      DeleteProcThreadAttributeList(list);
      return;
    }
    list_ = list;
  }
  ~HandleInheritList() {
    if (list_) DeleteProcThreadAttributeList(list_);
  }
  HandleInheritList(const HandleInheritList&) = delete;
  HandleInheritList& operator=(const HandleInheritList&) = delete;
  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

 private:
  std::vector<HANDLE> handles_;  // must outlive the list
  std::vector<char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// The child's output pipe: a named pipe, so the parent can read it with a
// deadline (overlapped reads). The parent's end is not inheritable, the
// child's end is.
bool CreateOutputPipe(UniqueHandle* parentEnd, UniqueHandle* childEnd) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  const std::string pipeName = UniquePipeName();
  parentEnd->reset(CreateNamedPipeA(
      pipeName.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, kPipeBufferBytes, 0,
      nullptr));
  if (!*parentEnd) return false;
  childEnd->reset(CreateFileA(pipeName.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, &inherit,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(*childEnd);
}

// The child's input pipe: an anonymous pipe whose write end stays with the parent.
bool CreateInputPipe(UniqueHandle* childEnd, UniqueHandle* parentEnd) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE childRaw = nullptr, parentRaw = nullptr;
  if (!CreatePipe(&childRaw, &parentRaw, &inherit, 0)) return false;
  childEnd->reset(childRaw);
  parentEnd->reset(parentRaw);
  SetHandleInformation(parentRaw, HANDLE_FLAG_INHERIT, 0);
  return true;
}

// Hidden window, standard input from `input`, output and error to `output`.
STARTUPINFOA ChildStartupInfo(HANDLE input, HANDLE output) {
  STARTUPINFOA si{};
  GetStartupInfoA(&si);
  si.cb = sizeof(si);
  // The C runtime's inherited-descriptor block describes our handles, not the
  // child's: never pass it on.
  si.lpReserved2 = nullptr;
  si.cbReserved2 = 0;
  si.hStdInput = input;
  si.hStdOutput = output;
  si.hStdError = output;
  si.wShowWindow = SW_HIDE;
  si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  return si;
}

// Starts `commandLine` with the two pipe ends as its only inherited handles,
// even when another thread starts a child of its own at the same moment with
// its inheritable ends open. The process handle goes to `process`.
bool StartChild(const std::string& commandLine, HANDLE input, HANDLE output, UniqueHandle* process) {
  STARTUPINFOA si = ChildStartupInfo(input, output);
  HandleInheritList only({input, output});
  STARTUPINFOEXA extended{};
  extended.StartupInfo = si;
  extended.StartupInfo.cb = sizeof(extended);
  extended.lpAttributeList = only.get();

  const std::string application = ResolveExecutable(commandLine);
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(application.empty() ? nullptr : application.c_str(), writable.data(), nullptr, nullptr,
                      TRUE, only.get() ? EXTENDED_STARTUPINFO_PRESENT : 0, nullptr, nullptr,
                      only.get() ? &extended.StartupInfo : &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process->reset(pi.hProcess);
  return true;
}

// Overlapped reads of the output pipe in chunks of kChunkBytes, each chunk
// appended to `output` up to its first NUL.
class ChunkReader {
 public:
  enum class Started { kFinished, kGotData, kPending };

  ChunkReader(HANDLE pipe, HANDLE event, std::string& output) : pipe_(pipe), event_(event), output_(output) {}

  // Starts one read; kFinished when the pipe is broken or failed.
  Started Start() {
    ov_ = OVERLAPPED{};
    ov_.hEvent = event_;
    ResetEvent(event_);
    DWORD got = 0;
    if (ReadFile(pipe_, chunk_, kChunkBytes, &got, &ov_))
      return Finish(FALSE) ? Started::kGotData : Started::kFinished;
    return GetLastError() == ERROR_IO_PENDING ? Started::kPending : Started::kFinished;
  }

  // Collects the read started last (waiting for it when `wait`); false when
  // it failed or brought nothing.
  bool Finish(BOOL wait) {
    DWORD got = 0;
    if (!GetOverlappedResult(pipe_, &ov_, &got, wait) || got == 0) return false;
    AppendAdbOutputChunk(output_, chunk_, got);
    return true;
  }

  // Withdraws a pending read (it may have completed meanwhile, and then
  // counts), then takes what is buffered in the pipe without waiting for
  // whoever still holds its write end.
  void CancelAndDrain() {
    CancelIoEx(pipe_, &ov_);
    Finish(TRUE);
    for (;;) {
      DWORD available = 0;
      if (!PeekNamedPipe(pipe_, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
      const Started started = Start();
      // Data is buffered, so a pending read completes without waiting on the child.
      if (started == Started::kFinished || (started == Started::kPending && !Finish(TRUE))) return;
    }
  }

 private:
  HANDLE pipe_;
  HANDLE event_;
  std::string& output_;
  OVERLAPPED ov_{};
  char chunk_[kChunkBytes + 1];
};

}  // namespace

AdbRunner::AdbRunner(DWORD deadlineMs, HANDLE cancelEvent)
    : deadlineMs_(deadlineMs), cancelEvent_(cancelEvent) {}

AdbRunner::~AdbRunner() {
  Close();
}

void AdbRunner::Close() {
  outputRead_.reset();
  inputWrite_.reset();
  process_.reset();
  readEvent_.reset();
}

bool AdbRunner::Run(const std::string& commandLine) {
  Close();
  cutShort_ = false;
  if (cancelEvent_ && WaitForSingleObject(cancelEvent_, 0) == WAIT_OBJECT_0) return false;
  UniqueHandle outputRead, childOutput, childInput, inputWrite;
  if (!CreateOutputPipe(&outputRead, &childOutput) || !CreateInputPipe(&childInput, &inputWrite))
    return false;
  UniqueHandle readEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!readEvent || !StartChild(commandLine, childInput.get(), childOutput.get(), &process_)) return false;
  outputRead_ = std::move(outputRead);
  inputWrite_ = std::move(inputWrite);
  readEvent_ = std::move(readEvent);
  deadline_ = GetTickCount64() + deadlineMs_;
  // childInput and childOutput close here: from now on only the child (and
  // whatever it starts) holds the write end of the output pipe.
  return true;
}

bool AdbRunner::WriteInput(const std::string& text) {
  if (!inputWrite_) return false;
  DWORD written = 0;
  return WriteFile(inputWrite_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
         FALSE;
}

DWORD AdbRunner::WaitForReadOrEnd() const {
  HANDLE waits[3] = {readEvent_.get(), process_.get(), cancelEvent_};
  const DWORD count = cancelEvent_ ? 3 : 2;
  const ULONGLONG now = GetTickCount64();
  const DWORD remaining = now >= deadline_ ? 0 : static_cast<DWORD>(deadline_ - now);
  return WaitForMultipleObjects(count, waits, FALSE, remaining);
}

void AdbRunner::TerminateChild() {
  TerminateProcess(process_.get(), 1);
  WaitForSingleObject(process_.get(), 5000);
  cutShort_ = true;
}

std::string AdbRunner::ReadOutput() {
  std::string output;
  cutShort_ = false;
  if (!outputRead_ || !readEvent_) return output;
  ChunkReader reader(outputRead_.get(), readEvent_.get(), output);
  for (;;) {
    const ChunkReader::Started started = reader.Start();
    if (started == ChunkReader::Started::kFinished) return output;
    if (started == ChunkReader::Started::kGotData) continue;
    const DWORD w = WaitForReadOrEnd();
    if (w == WAIT_OBJECT_0) {
      if (!reader.Finish(FALSE)) return output;
      continue;
    }
    // The child has exited, or it must be ended (deadline, cancel, failed
    // wait). Take what it wrote before it ended and stop, even when a process
    // the child started still holds the pipe open.
    if (w != WAIT_OBJECT_0 + 1) TerminateChild();
    reader.CancelAndDrain();
    return output;
  }
}

bool AdbRunner::ListDevices(std::vector<std::string>& serials) {
  if (!Run("adb\\adb.exe devices")) return false;
  ParseAdbDevices(ReadOutput(), serials);
  return true;
}

bool AdbRunner::QueryModel(std::string serial, DeviceInfo& info) {
  info.kind = kDeviceAndroid;
  info.id = serial;
  info.name = serial;
  if (!Run("adb\\adb.exe -s " + serial + " shell")) return false;
  WriteInput("getprop\r\n");
  WriteInput("exit\r\n");
  ParseGetpropModel(ReadOutput(), info.name);
  return true;
}

bool AdbRunner::Forward(const std::string& serial, int localPort, int remotePort) {
  char ports[64];
  std::snprintf(ports, sizeof(ports), " forward tcp:%d tcp:%d",
                static_cast<int>(static_cast<uint16_t>(localPort)),
                static_cast<int>(static_cast<uint16_t>(remotePort)));
  if (!Run("adb\\adb.exe -s " + serial + ports)) return false;
  ReadOutput();
  return true;
}
