// Stand-in for the main window's frame renderer until it exists: takes the picture the show
// thread handed over, tells an observer about it and signals that it was shown.
#pragma once

#include <cstdint>
#include <functional>

struct ShownFrame {
  const uint8_t* lpPicture;  // 24-bit BGR, bottom row first
  uint16_t wWidth;
  uint16_t wHeight;
  uint32_t fNoPicture;
};

// Notes the current picture (lp_CurrentImage, wImageWidth, wImageHeight, fVideoLoss), calls the
// observer, then sets h_FinishShowImageJobEvent. Returns 1.
int DrawVideoFrameStandIn();

// Called on the drawing thread for every picture; an empty function removes it.
void SetShownFrameObserver(std::function<void(const ShownFrame&)> observer);
