// A small blocking HTTP GET over WinINet into memory, bounded in size and
// cancellable from another thread.
//
// Cancelling: the owner of the thread that runs a transfer keeps an
// HttpCancel and passes it in. The transfer runs WinINet in its asynchronous
// mode and waits for each step on the step's completion or the cancel's
// event, so Cancel (from any thread) ends the wait at once; the transfer then
// closes its handles and returns. Closing a handle is not enough on its own:
// WinINet may keep a blocked synchronous call going until its time-out.
// An operation WinINet has already started finishes (or times out) inside
// WinINet; its completion state lives until WinINet releases the request
// handle, so nothing of the returned transfer is touched afterwards.
#pragma once
#include <windows.h>

#include <wininet.h>

#include <cstddef>
#include <string>

#include "framework/handles.h"

class HttpCancel {
 public:
  HttpCancel();
  HttpCancel(const HttpCancel&) = delete;
  HttpCancel& operator=(const HttpCancel&) = delete;

  // Any thread: ends the transfer in progress and every later one until Reset.
  void Cancel() { SetEvent(event_.get()); }
  // The owner, when no transfer runs: transfers may run again.
  void Reset() { ResetEvent(event_.get()); }
  bool IsCancelled() const { return WaitForSingleObject(event_.get(), 0) == WAIT_OBJECT_0; }
  HANDLE event() const { return event_.get(); }

 private:
  UniqueHandle event_;  // manual reset: set while cancelled
};

struct HttpOptions {
  DWORD connectTimeoutMs = 30000;
  DWORD receiveTimeoutMs = 60000;
  DWORD sendTimeoutMs = 30000;
  size_t maxBytes = 0;           // a longer body is refused; 0: no bound
  HttpCancel* cancel = nullptr;  // may be null
};

// GETs `url` (host:port honoured, port 80 by default) and returns the body
// length, with the body in `body`. 0 on failure, with the reason appended to
// `error` (Chinese texts ending with a line break); an empty body, an answer
// other than 200, a body longer than options.maxBytes and a cancelled
// transfer are failures too. `body` is cleared on failure.
size_t HttpGet(const std::string& url, std::string& body, std::string& error, const HttpOptions& options);
