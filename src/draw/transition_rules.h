// The rectangles that the cover-image transitions copy from object 1, and
// the viewer's scrolling limits: plain arithmetic, kept apart from drawing.
#pragma once

#include <vector>

namespace zo {

struct CoverCopy {
  int x, y;                      // destination on the back surface
  int left, top, right, bottom;  // source rectangle in the cover object
};

// Copies for cover style 1..12 at step 1..10 with band B, on a W x H screen.
// random() gives the non-negative numbers that jitter styles 3 and 4.
// Styles that divide by the band draw nothing when it is below 1; the jitter
// of styles 3 and 4 stays 0 when the band is below the step.
std::vector<CoverCopy> CoverCopies(int style, int step, int band, int width, int height,
                                   int (*random)());

// The viewer's first row after scrolling: never above row 0, and never past
// the row that puts the image's bottom at the clip area's bottom.
float ClampViewerScroll(float scroll, int imageHeight, int clipHeight);

}  // namespace zo
