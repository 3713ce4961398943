// The user's choices for the published picture: portrait or landscape output
// and the two mirrors. They survive disconnects and reconnects and reach the
// stream worker only when the user toggles them.
#pragma once
#include <string>

class CIconButton;
class StreamWorker;

class PictureOptions {
 public:
  PictureOptions(StreamWorker& worker, CIconButton& modeButton) : worker_(worker), modeButton_(modeButton) {}

  // Flips the orientation, relabels the mode button with the mode a click
  // switches to, and returns the text that names the camera now in use.
  std::string TogglePortrait();
  void ToggleMirrorHorizontally();
  void ToggleFlipVertically();

  bool portrait() const { return portrait_; }

 private:
  StreamWorker& worker_;
  CIconButton& modeButton_;
  bool portrait_ = false;
  bool mirrorH_ = false;
  bool mirrorV_ = false;
};
