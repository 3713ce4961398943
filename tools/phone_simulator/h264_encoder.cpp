#include "tools/phone_simulator/h264_encoder.h"

#include <x264.h>

#include <cstring>

namespace phone_sim {

H264Encoder::H264Encoder() = default;

H264Encoder::~H264Encoder() {
  if (encoder_) x264_encoder_close(encoder_);
}

bool H264Encoder::Open(const EncoderSettings& s, std::string* error) {
  x264_param_t param;
  if (x264_param_default_preset(&param, s.preset.c_str(), "zerolatency") < 0) {
    *error = "unknown x264 preset '" + s.preset + "'";
    return false;
  }
  param.i_width = s.width;
  param.i_height = s.height;
  param.i_csp = X264_CSP_I420;
  param.i_fps_num = static_cast<uint32_t>(s.fps);
  param.i_fps_den = 1;
  param.i_timebase_num = 1;
  param.i_timebase_den = static_cast<uint32_t>(s.fps);
  param.b_vfr_input = 0;
  param.i_keyint_max = s.keyframe_interval > 0 ? s.keyframe_interval : 2 * s.fps;
  param.b_repeat_headers = 1;  // SPS/PPS before each key frame: a late joiner can start there
  param.b_annexb = 1;
  param.b_aud = 1;  // one delimiter per access unit makes frame boundaries visible on the wire
  param.i_log_level = X264_LOG_ERROR;
  if (s.threads > 0) param.i_threads = s.threads;
  int kbps = s.bitrate_kbps > 0 ? s.bitrate_kbps
                                : static_cast<int>(static_cast<int64_t>(s.width) * s.height * s.fps / 10000);
  param.rc.i_rc_method = X264_RC_ABR;
  param.rc.i_bitrate = kbps;
  param.rc.i_vbv_max_bitrate = kbps;
  param.rc.i_vbv_buffer_size = kbps;  // one second of buffer: no huge bursts
  if (x264_param_apply_profile(&param, "high") < 0) {
    *error = "x264 refused the high profile";
    return false;
  }
  encoder_ = x264_encoder_open(&param);
  if (!encoder_) {
    *error = "x264_encoder_open failed for " + std::to_string(s.width) + "x" + std::to_string(s.height);
    return false;
  }
  return true;
}

bool H264Encoder::Encode(const YuvPicture& picture, std::vector<uint8_t>* out) {
  if (!encoder_) return false;
  x264_picture_t in;
  x264_picture_init(&in);
  in.img.i_csp = X264_CSP_I420;
  in.img.i_plane = 3;
  in.img.plane[0] = const_cast<uint8_t*>(picture.y.data());
  in.img.plane[1] = const_cast<uint8_t*>(picture.u.data());
  in.img.plane[2] = const_cast<uint8_t*>(picture.v.data());
  in.img.i_stride[0] = picture.width;
  in.img.i_stride[1] = picture.width / 2;
  in.img.i_stride[2] = picture.width / 2;
  in.i_pts = next_pts_++;
  x264_picture_t encoded;
  x264_nal_t* nals = nullptr;
  int nal_count = 0;
  int size = x264_encoder_encode(encoder_, &nals, &nal_count, &in, &encoded);
  if (size < 0) return false;
  // With b_annexb the payloads of all NAL units are contiguous, start codes included.
  if (size > 0) out->insert(out->end(), nals[0].p_payload, nals[0].p_payload + size);
  return true;
}

}  // namespace phone_sim
