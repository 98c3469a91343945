// Where the captioned main window goes so that its client area is W x H.
#pragma once

namespace zo {

struct FrameMetrics {
  int screenWidth, screenHeight;   // SM_CXSCREEN, SM_CYSCREEN
  int borderX, borderY;            // SM_CXBORDER, SM_CYBORDER
  int edgeX, edgeY;                // SM_CXEDGE, SM_CYEDGE
  int dialogFrameX, dialogFrameY;  // SM_CXDLGFRAME, SM_CYDLGFRAME
  int caption;                     // SM_CYCAPTION
};

struct WindowPlacement {
  int x, y, width, height;
};

// Each frame term counts once; the window is centred, rounding toward zero.
WindowPlacement PlaceWindowedFrame(const FrameMetrics& m, int clientWidth, int clientHeight);

}  // namespace zo
