// The interface through which the decoder hands over each converted picture.
#pragma once

struct AVFrame;

class IFrameBuffer {
 public:
  virtual ~IFrameBuffer() = default;
  // Accepts one decoded picture, in the pixel format the decoder produced
  // (planar YUV for H.264). The picture is only borrowed for the call: the
  // decoder overwrites it with the next one.
  virtual void OnFrame(const AVFrame* picture) = 0;
  // 1 while the sink cannot take another picture, else 0.
  virtual int IsFull() = 0;
};
