// The two primitives of a link transport, so the greeting and the frame
// reader can run over a socket, a usbmux connection or a memory script.
#pragma once

class ByteChannel {
 public:
  virtual ~ByteChannel() = default;
  // Sends n bytes; returns the count sent (anything but n is a failure), 0
  // when n < 1 or there is no transport, -1 on a socket failure or time-out.
  virtual int Send(const void* buffer, int n) = 0;
  // Receives exactly n bytes unless the peer stops, fails or falls silent;
  // returns the count received or -1, with the same rules as Send.
  virtual int Recv(void* buffer, int n) = 0;
};
