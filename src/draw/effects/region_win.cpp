// The back-surface region effects: a frame that locks the back surface
// alone, and for the zooms one that locks the buffer object as well and
// blits it back afterwards.
#include "draw/effects/effect_frame_win.h"
#include "draw/effects/effect_tables.h"
#include "draw/effects/region_kernels.h"
#include "zo.h"

namespace {

using zo::Channels;
using zo::RegionJob;

zo::NoiseRun blurRise, blurRiseFade;
int noiseCursor, noiseRGBCursor;

// The back surface alone.
template <class Kernel>
int RunRegionEffect(int x, int y, unsigned w, unsigned h, Kernel kernel) {
  if (!effectTablesReady) return 0;
  return zo::LockedSurfaces{nullptr}([&](const zo::PixelView&, const zo::PixelView& screen) {
    kernel(RegionJob{screen, x, y, w, h, PixelFormat});
  });
}

// Object 0 (the buffer) with the back surface; the enlargement is drawn back
// at (x, y) once both are free again.
int Zoom(int x, int y, unsigned w, unsigned h, int dotted, int factor) {
  IDirectDrawSurface* buffer = zo::EffectSource(0);
  if (!buffer) return 0;
  int width = 0, height = 0;
  if (!zo::LockedSurfaces{buffer}([&](const zo::PixelView& bufferView, const zo::PixelView& screen) {
        zo::ZoomKernel(RegionJob{screen, x, y, w, h, PixelFormat}, bufferView, factor, dotted);
        zo::ZoomBlitSize(w, h, factor, bufferView, &width, &height);
      }))
    return 0;
  zoDraw::DrawSpriteOpaque(x, y, 0, 0, 0, width, height);
  return 1;
}

}  // namespace

namespace zoDraw {

int ScreenBlurRise(int x, int y, unsigned w, unsigned h) {
  return RunRegionEffect(x, y, w, h, [](const RegionJob& job) { zo::BlurRiseKernel(job, Channels{0, 0, 0}, blurRise); });
}

int ScreenBlurRiseFade(int red, int green, int blue, int x, int y, unsigned w, unsigned h) {
  return RunRegionEffect(x, y, w, h, [&](const RegionJob& job) {
    zo::BlurRiseKernel(job, Channels{red, green, blue}, blurRiseFade);
  });
}

int ScreenSmooth(int x, int y, unsigned w, unsigned h) {
  return RunRegionEffect(x, y, w, h, [](const RegionJob& job) { zo::SmoothKernel(job, Channels{0, 0, 0}); });
}

int ScreenSmoothFade(int red, int green, int blue, int x, int y, unsigned w, unsigned h) {
  return RunRegionEffect(x, y, w, h,
                         [&](const RegionJob& job) { zo::SmoothKernel(job, Channels{red, green, blue}); });
}

int ScreenZoom2(int x, int y, unsigned w, unsigned h, int dotted) { return Zoom(x, y, w, h, dotted, 2); }

int ScreenZoom4(int x, int y, unsigned w, unsigned h, int dotted) { return Zoom(x, y, w, h, dotted, 4); }

int ScreenMosaicCircle(int cx, int cy, int radius, int block) {
  return RunRegionEffect(0, 0, 0, 0, [&](const RegionJob& job) {
    zo::MosaicCircleKernel(job.screen, screenWidth, screenHeight, cx, cy, radius, block);
  });
}

int ScreenNoise(int shift, int x, int y, unsigned w, unsigned h) {
  return RunRegionEffect(x, y, w, h,
                         [&](const RegionJob& job) { zo::NoiseKernel(job, Channels{1, 1, 1}, shift, noiseCursor); });
}

int ScreenNoiseRGB(int red, int green, int blue, int shift, int x, int y, unsigned w, unsigned h) {
  return RunRegionEffect(x, y, w, h, [&](const RegionJob& job) {
    zo::NoiseKernel(job, Channels{red, green, blue}, shift, noiseRGBCursor);
  });
}

}  // namespace zoDraw
