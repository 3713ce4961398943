// Reads the simulator's Video messages as a desktop would and decodes them.
#pragma once
#include <vector>

#include "tests/phone_simulator/desktop_client.h"
#include "tests/phone_simulator/test_decoder.h"

// Reads frames until `count` pictures have been decoded from the Video
// payloads (at most `max_frames` frames), skipping other frames. The Video
// frames go to *video when given.
bool ReadPictures(DesktopClient& desktop, size_t count, std::vector<RgbPicture>* pictures,
                  std::vector<ReceivedFrame>* video = nullptr, int max_frames = 20000);

// Number of access unit delimiters (00 00 01 09) in a payload.
int CountAccessUnitDelimiters(const std::vector<uint8_t>& payload);
