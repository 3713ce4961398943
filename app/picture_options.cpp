#include "app/picture_options.h"

#include "resources/picture_ids.h"
#include "video/stream_worker.h"
#include "widgets/icon_button.h"

std::string PictureOptions::TogglePortrait() {
  portrait_ = !portrait_;
  if (portrait_) {
    modeButton_.SetText("横屏模式");
    modeButton_.SetImages(IDB_MODE_LANDSCAPE_NORMAL, IDB_MODE_LANDSCAPE_HOT, IDB_MODE_LANDSCAPE_PRESSED,
                          IDB_MODE_LANDSCAPE_NORMAL);
  } else {
    modeButton_.SetText("竖屏模式");
    modeButton_.SetImages(IDB_MODE_PORTRAIT_NORMAL, IDB_MODE_PORTRAIT_HOT, IDB_MODE_PORTRAIT_PRESSED,
                          IDB_MODE_PORTRAIT_NORMAL);
  }
  worker_.SetPortrait(portrait_);
  // The landscape text ends with a blank, as the users have always seen it.
  return portrait_ ? "请在直播平台中，切换摄像头为“Vela直播助手（竖屏）”"
                   : "请在直播平台中，切换摄像头为“Vela直播助手（横屏）” ";
}

void PictureOptions::ToggleMirrorHorizontally() {
  mirrorH_ = !mirrorH_;
  worker_.SetUserFlip(mirrorH_, mirrorV_);
}

void PictureOptions::ToggleFlipVertically() {
  mirrorV_ = !mirrorV_;
  worker_.SetUserFlip(mirrorH_, mirrorV_);
}
