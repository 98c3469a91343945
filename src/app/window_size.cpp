#include "app/window_size.h"

namespace zo {

WindowPlacement PlaceWindowedFrame(const FrameMetrics& m, int clientWidth, int clientHeight) {
  WindowPlacement p;
  p.width = m.borderX + clientWidth + m.edgeX + m.dialogFrameX;
  p.height = m.caption + clientHeight + m.edgeY + m.borderY + m.dialogFrameY;
  p.x = (m.screenWidth - p.width) / 2;
  p.y = (m.screenHeight - p.height) / 2;
  return p;
}

}  // namespace zo
