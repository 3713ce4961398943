#include "config/http_client.h"

#include <atomic>
#include <cstdio>

#include "config/core/url.h"
#include "framework/unique_owner.h"

namespace {

struct InternetTraits {
  static bool IsValid(HINTERNET h) { return h != nullptr; }
  static void Release(HINTERNET h) { InternetCloseHandle(h); }
};
using InternetHandle = UniqueOwner<HINTERNET, InternetTraits>;

constexpr DWORD kReadChunk = 10240;

// What WinINet's completions write, shared between the transfer and WinINet:
// one reference each. WinINet's is dropped when it reports the request handle
// closing, which may be after the transfer has returned (a cancelled step
// finishing inside WinINet).
struct Completion {
  UniqueHandle done{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<long> refs{2};
  std::atomic<DWORD_PTR> result{0};
  std::atomic<DWORD> error{0};
  DWORD read = 0;  // written by an asynchronous read
  char buffer[kReadChunk];

  void Release() {
    if (--refs == 0) delete this;
  }
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, void* info, DWORD) {
  auto* completion = reinterpret_cast<Completion*>(context);
  if (!completion) return;  // the session and connection handles carry no context
  if (status == INTERNET_STATUS_REQUEST_COMPLETE) {
    auto* result = static_cast<INTERNET_ASYNC_RESULT*>(info);
    completion->result = result->dwResult;
    completion->error = result->dwError;
    SetEvent(completion->done.get());
  } else if (status == INTERNET_STATUS_HANDLE_CLOSING) {
    completion->Release();
  }
}

template <class... Args>
void AppendError(std::string& error, const char* format, Args... args) {
  char text[512];
  std::snprintf(text, sizeof text, format, args...);
  error += text;
}

// kDoneLater: finished after going asynchronous.
enum class Step { kDone, kDoneLater, kFailed, kCancelled };

// Runs one WinINet call; when it goes asynchronous, waits for its completion
// or the cancel. kFailed leaves the reason in GetLastError.
template <class Call>
Step RunStep(Completion& completion, const HttpOptions& options, Call call) {
  if (options.cancel && options.cancel->IsCancelled()) return Step::kCancelled;
  ResetEvent(completion.done.get());
  if (call()) return Step::kDone;
  if (GetLastError() != ERROR_IO_PENDING) return Step::kFailed;
  HANDLE waits[] = {completion.done.get(), options.cancel ? options.cancel->event() : nullptr};
  DWORD woke = WaitForMultipleObjects(options.cancel ? 2 : 1, waits, FALSE, INFINITE);
  if (woke != WAIT_OBJECT_0) return Step::kCancelled;
  if (completion.result) return Step::kDoneLater;
  SetLastError(completion.error);
  return Step::kFailed;
}

DWORD HeaderNumber(HINTERNET request, DWORD query) {
  DWORD value = 0, size = sizeof value;
  if (!HttpQueryInfoA(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) return 0;
  return value;
}

// How many bytes can be read without waiting (0 at the end of the body). An
// asynchronous completion only says that data or the end has arrived, so the
// question is asked again until it is answered at once.
Step AskAvailable(HINTERNET request, Completion& completion, const HttpOptions& options, DWORD& available) {
  for (;;) {
    Step step =
        RunStep(completion, options, [&] { return InternetQueryDataAvailable(request, &available, 0, 0); });
    if (step != Step::kDoneLater) return step;
  }
}

// Reads the whole body; false with its reason in `error`.
bool ReadBody(HINTERNET request, Completion& completion, std::string& body, std::string& error,
              const HttpOptions& options) {
  for (;;) {
    DWORD available = 0;
    Step step = AskAvailable(request, completion, options, available);
    if (step == Step::kDone && available == 0) return true;
    if (step == Step::kDone && options.maxBytes && body.size() + available > options.maxBytes) {
      AppendError(error, "文件下载失败，内容超过上限（%zu字节）！\n", options.maxBytes);
      return false;
    }
    if (step == Step::kDone) {
      DWORD wanted = available < kReadChunk ? available : kReadChunk;
      completion.read = 0;
      step = RunStep(completion, options,
                     [&] { return InternetReadFile(request, completion.buffer, wanted, &completion.read); });
    }
    if (step == Step::kDoneLater) step = Step::kDone;
    if (step != Step::kDone) {
      AppendError(error, step == Step::kCancelled ? "请求已取消\n" : "文件下载失败，错误号：%lu\n",
                  GetLastError());
      return false;
    }
    if (completion.read == 0) return true;
    try {
      body.append(completion.buffer, completion.read);
    } catch (const std::bad_alloc&) {
      error += "文件下载失败，存储空间不足！\n";
      return false;
    }
  }
}

}  // namespace

HttpCancel::HttpCancel() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

size_t HttpGet(const std::string& url, std::string& body, std::string& error, const HttpOptions& options) {
  body.clear();
  std::string host, path, name;
  int port = 0;
  if (!ParseUrl(url, host, path) || !SplitHostPort(host, name, port)) {
    error += "Url地址错误！\n";
    return 0;
  }
  InternetHandle session(
      InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC));
  if (!session) return 0;
  InternetSetStatusCallbackA(session.get(), OnStatus);
  InternetHandle connection(InternetConnectA(session.get(), name.c_str(), static_cast<INTERNET_PORT>(port),
                                             nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) {
    AppendError(error, "连接Http服务器失败， 服务器：%s, 错误号：%lu\n", name.c_str(), GetLastError());
    return 0;
  }
  auto setTimeout = [&](DWORD option, DWORD value) {
    if (value > 0) InternetSetOptionA(connection.get(), option, &value, sizeof value);
  };
  setTimeout(INTERNET_OPTION_CONNECT_TIMEOUT, options.connectTimeoutMs);
  setTimeout(INTERNET_OPTION_RECEIVE_TIMEOUT, options.receiveTimeoutMs);
  setTimeout(INTERNET_OPTION_SEND_TIMEOUT, options.sendTimeoutMs);

  auto* completion = new Completion;
  const char* acceptTypes[] = {"*/*", nullptr};
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", path.c_str(), nullptr, nullptr,
                                          acceptTypes, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                          reinterpret_cast<DWORD_PTR>(completion)));
  if (!request) {
    AppendError(error, "创建请求失败， 错误号：%lu\n", GetLastError());
    completion->Release();  // no handle will report closing
    completion->Release();
    return 0;
  }
  // Declared after the request: released before the handle is closed.
  struct Ours {
    Completion* completion;
    ~Ours() { completion->Release(); }
  } ours{completion};

  Step step =
      RunStep(*completion, options, [&] { return HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0); });
  if (step == Step::kCancelled || step == Step::kFailed) {
    AppendError(error, step == Step::kCancelled ? "请求已取消\n" : "发送请求失败， 错误号：%lu\n",
                GetLastError());
    return 0;
  }
  DWORD status = HeaderNumber(request.get(), HTTP_QUERY_STATUS_CODE);
  if (status == 0) {
    error += "服务器未返回有效应答！\n";
    return 0;
  }
  if (status != HTTP_STATUS_OK) {
    AppendError(error, "服务器返回错误，状态号：%lu\n", status);
    return 0;
  }
  DWORD promised = HeaderNumber(request.get(), HTTP_QUERY_CONTENT_LENGTH);
  if (!ReadBody(request.get(), *completion, body, error, options)) {
    body.clear();
    return 0;
  }
  if (promised && body.size() != promised) {
    AppendError(error, "文件下载失败，内容不完整（%zu/%lu字节）！\n", body.size(), promised);
    body.clear();
    return 0;
  }
  return body.size();
}
