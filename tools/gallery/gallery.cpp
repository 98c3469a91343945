// The effect gallery: every software effect drawn on the same background and
// sprite, each picture saved by zoDraw::SaveScreen as effects\<name>.bmp
// beside the executable, and effects\index.txt listing every picture with
// its family, what it shows and the call that drew it (scripts/gallery makes
// docs/effects/ and docs/effects.md from them). The gallery runs in
// DemoSetup and ends itself; its exit code is the number of pictures whose
// effect reported an error or whose file could not be written.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "zo.h"

namespace {

// Every picture is the top-left Width x Height of the back surface: a crop
// of the background with the 96 x 96 sprite centred at (64, 24).
const int Width = 224, Height = 144;
int background, blocks, sprite;

// The background alone, clipped to ClipRect (the wipes clip it).
void Backdrop() { zoDraw::DrawSpriteOpaque(0, 0, background, 300, 216, 300 + Width, 216 + Height); }
// The sprite as an ordinary colour-keyed blit, for the effects that work on
// what is already on the back surface.
void Sprite() { zoDraw::DrawSprite(64, 24, sprite, 0, 0, 96, 96); }

// The sprite: the four blocks of the demo enlarged into a 2 x 2 square,
// with the black (transparent) corners of the blocks between them.
void MakeSprite() {
  zoDraw::ClearScreen();
  for (int t = 0; t < 4; ++t)
    zoDraw::DrawStretch(48 * (t % 2), 48 * (t / 2), blocks, 30 * t, 0, 30 * t + 30, 30, 48, 48);
  sprite = zoDraw::CreateObject(96, 96, 2);
  zoDraw::GrabScreen(sprite, 0, 0, 96, 96);
}

struct Picture {
  const char* name;         // file name without .bmp
  const char* family;       // section of the page
  const char* description;  // one line
  const char* call;         // the code below, as written
  void (*draw)();
};

// The call is stringised, so the page shows exactly the code that ran.
#define PICTURE(name, family, description, ...) \
  { name, family, description, #__VA_ARGS__, [] { __VA_ARGS__; } }

const Picture pictures[] = {
    // ---- Blends ----
    PICTURE("half_blend", "Blends", "The channel-wise mean of sprite and background.",
            zoDraw::DrawHalfBlend(64, 24, sprite, 0, 0, 96, 96)),
    PICTURE("alpha_blend", "Blends", "The sprite at 30 % opacity.",
            zoDraw::DrawAlphaBlend(64, 24, 0.3f, sprite, 0, 0, 96, 96)),
    PICTURE("alpha_blend_rgb", "Blends", "Opaque in red, faint in green and blue.",
            zoDraw::DrawAlphaBlendRGB(64, 24, 1.0f, 0.2f, 0.2f, sprite, 0, 0, 96, 96)),
    PICTURE("alpha_gradient", "Blends", "Opacity rising by 1/32 every 3 rows from the top.",
            zoDraw::DrawAlphaGradient(64, 24, 0.0f, 0.0f, 0.0f, 1, 0, 3, sprite, 0, 0, 96, 96)),
    PICTURE("cross_fade", "Blends", "Cross-fade level 12 of 31.",
            zoDraw::DrawCrossFade(64, 24, 12, sprite, 0, 0, 96, 96)),
    PICTURE("cross_fade_rgb", "Blends", "Blue at full level, red and green faded out.",
            zoDraw::DrawCrossFadeRGB(64, 24, 4, 4, 31, sprite, 0, 0, 96, 96)),
    PICTURE("cross_fade_gradient", "Blends", "Cross-fade rising one level every 3 columns.",
            zoDraw::DrawCrossFadeGradient(64, 24, 0, 0, 0, 0, 0, 3, sprite, 0, 0, 96, 96)),
    PICTURE("add", "Blends", "Saturating additive blend.", zoDraw::DrawAdd(64, 24, sprite, 0, 0, 96, 96)),
    PICTURE("add_level", "Blends", "Additive blend of the sprite at half strength.",
            zoDraw::DrawAddLevel(64, 24, 0.5f, sprite, 0, 0, 96, 96)),
    PICTURE("subtract", "Blends", "The sprite subtracted from the background.",
            zoDraw::DrawSubtract(64, 24, sprite, 0, 0, 96, 96)),
    PICTURE("half_fill_rect", "Blends", "A rectangle half way toward magenta (a raw 5-6-5 value).",
            zoDraw::HalfFillRect(32, 24, 192, 120, 0xF81F)),

    // ---- Colour filters ----
    PICTURE("channel_mask", "Colour filters", "Only the green channel kept.",
            zoDraw::DrawChannelMask(64, 24, 0, 1, 0, sprite, 0, 0, 96, 96)),
    PICTURE("brightness", "Colour filters", "Every channel scaled by 1.6, saturating.",
            zoDraw::DrawBrightness(64, 24, 1.6f, sprite, 0, 0, 96, 96)),
    PICTURE("brightness_rgb", "Colour filters", "Red doubled, green and blue halved.",
            zoDraw::DrawBrightnessRGB(64, 24, 2.0f, 0.5f, 0.5f, sprite, 0, 0, 96, 96)),
    PICTURE("darken", "Colour filters", "Darkened to level 12 of 31.",
            zoDraw::DrawDarken(64, 24, 12, sprite, 0, 0, 96, 96)),
    PICTURE("darken_rgb", "Colour filters", "Red kept, green and blue darkened to level 6.",
            zoDraw::DrawDarkenRGB(64, 24, 31, 6, 6, sprite, 0, 0, 96, 96)),
    PICTURE("gray", "Colour filters", "The mean of the three channels in all three.",
            zoDraw::DrawGray(64, 24, sprite, 0, 0, 96, 96)),
    PICTURE("blur", "Colour filters", "The mean of every 7 x 7 block of the sprite.",
            zoDraw::DrawBlur(64, 24, 7, sprite, 0, 0, 96, 96)),
    PICTURE("soft_edge", "Colour filters", "Outline pixels averaged with the background beside them.",
            zoDraw::DrawSoftEdge(64, 24, sprite, 0, 0, 96, 96)),
    PICTURE("glow", "Colour filters", "Light along all eight rays, the sprite drawn on top.",
            zoDraw::DrawGlow(64, 24, 2, 2, 2, 0xFF, 1, sprite, 0, 0, 96, 96)),

    // ---- Mirror, smear, distortion and row blits ----
    PICTURE("mirror", "Mirror, smear and distortion", "Mirrored left-right and top-bottom.",
            zoDraw::DrawMirror(64, 24, 3, sprite, 0, 0, 96, 96)),
    PICTURE("smear", "Mirror, smear and distortion", "Column 40 of the sprite stretched to the right.",
            zoDraw::DrawSmear(64, 24, 0, 40, sprite, 0, 0, 96, 96)),
    PICTURE("ripple", "Mirror, smear and distortion",
            "Every pixel scattered over a rippled, sheared surface.",
            zoDraw::DrawRipple(64, 24, 6, 3, 1, 1.0f, 0.3f, sprite, 0, 0, 96, 96)),
    PICTURE("displace", "Mirror, smear and distortion",
            "The background pulled up by the sprite's red channel.",
            zoDraw::DrawDisplace(64, 24, 0.5f, sprite, 0, 0, 96, 96)),
    PICTURE("scanlines", "Mirror, smear and distortion", "Every third row of the sprite.",
            zoDraw::DrawScanlines(64, 24, 3, sprite, 0, 0, 96, 96)),
    PICTURE("jitter", "Mirror, smear and distortion", "Every row shifted sideways by up to 6 pixels.",
            zoDraw::DrawJitter(64, 24, 6, sprite, 0, 0, 96, 96)),
    PICTURE("wave", "Mirror, smear and distortion", "Rows spread over a cosine profile, a quarter second on.",
            frameDelta = 0.25f; zoDraw::DrawWave(64, 24, 1, 20.0f, sprite, 0, 0, 96, 96)),

    // ---- Row effects ----
    PICTURE("row_wave", "Row effects", "Row r shifted by 16 cos(r degrees).",
            zoDraw::DrawRowWave(64, 24, 16, 0, 90.0f, sprite, 0, 0, 96, 96, 0)),
    PICTURE("row_wave_alternate", "Row effects", "The same wave, every other row the other way.",
            zoDraw::DrawRowWave(64, 24, 16, 0, 90.0f, sprite, 0, 0, 96, 96, 1)),
    PICTURE("tile_scroll", "Row effects", "The top-left block tiled over the screen, scrolled.",
            frameDelta = 0.25f; zoDraw::DrawTileScroll(40.0f, 20.0f, sprite, 0, 0, 48, 48)),
    PICTURE("row_wave_scroll", "Row effects", "A waved sprite whose rows also scroll.",
            frameDelta = 0.25f; zoDraw::DrawRowWaveScroll(64, 24, 16, 0, 90.0f, 40.0f, sprite, 0, 0, 96, 96)),
    PICTURE("row_wave_tile", "Row effects", "A band of rows 30..120, tiled and waved.",
            frameDelta = 0.25f; zoDraw::DrawRowWaveTile(30, 120, 16, 0, 90.0f, 40.0f, sprite, 0, 0, 96, 96)),
    PICTURE("row_mosaic", "Row effects", "Rows repeated in bands of 8.",
            zoDraw::DrawRowMosaic(64, 24, 8, sprite, 0, 0, 96, 96)),

    // ---- Back-surface region effects ----
    PICTURE("blur_rise", "Region effects", "Twelve steps of the rising blur over the picture.",
            Sprite(); for (int i = 0; i < 12; ++i) zoDraw::ScreenBlurRise(0, 0, 224, 144)),
    PICTURE("blur_rise_fade", "Region effects", "The rising blur, fading red and green.",
            Sprite(); for (int i = 0; i < 12; ++i) zoDraw::ScreenBlurRiseFade(1, 1, 0, 0, 0, 224, 144)),
    PICTURE("smooth", "Region effects", "Two passes of the in-place four-neighbour mean.",
            Sprite(); for (int i = 0; i < 2; ++i) zoDraw::ScreenSmooth(0, 0, 224, 144)),
    PICTURE("smooth_fade", "Region effects", "Two passes of the mean, lowering blue.",
            Sprite(); for (int i = 0; i < 2; ++i) zoDraw::ScreenSmoothFade(0, 0, 1, 0, 0, 224, 144)),
    PICTURE("zoom2", "Region effects", "The sprite's top-left quarter enlarged twice.",
            Sprite(); zoDraw::ScreenZoom2(64, 24, 48, 48, 0)),
    PICTURE("zoom2_dotted", "Region effects", "The same enlargement, only each block's corner written.",
            Sprite(); zoDraw::ScreenZoom2(64, 24, 48, 48, 1)),
    PICTURE("zoom4", "Region effects", "A 24 x 24 corner enlarged four times.",
            Sprite(); zoDraw::ScreenZoom4(64, 24, 24, 24, 0)),
    PICTURE("mosaic_circle", "Region effects", "Blocks of 8 inside a circle of radius 56.",
            Sprite(); zoDraw::ScreenMosaicCircle(112, 72, 56, 8)),
    PICTURE("noise", "Region effects", "Grain shifted left by 2 in every channel.",
            Sprite(); zoDraw::ScreenNoise(2, 0, 0, 224, 144)),
    PICTURE("noise_rgb", "Region effects", "Grain in blue only.",
            Sprite(); zoDraw::ScreenNoiseRGB(0, 0, 1, 2, 0, 0, 224, 144)),

    // ---- Rotations ----
    PICTURE("rotate", "Rotations", "Turned 30 degrees about the centre.",
            zoDraw::DrawRotate(40, 0, 184, 144, 30, sprite, 0, 0, 96, 96)),
    PICTURE("rotate_tile", "Rotations", "The picture filled with the turned sprite.",
            zoDraw::DrawRotateTile(0, 0, 224, 144, 30, sprite, 0, 0, 96, 96)),
    PICTURE("rotate_zoom", "Rotations", "Turned 45 degrees and scaled by 0.7.",
            zoDraw::DrawRotateZoom(40, 0, 184, 144, 45, 0.7f, sprite, 0, 0, 96, 96)),
    PICTURE("rotate_zoom_tile", "Rotations", "Turned, scaled by 0.5 and tiled.",
            zoDraw::DrawRotateZoomTile(0, 0, 224, 144, 20, 0.5f, sprite, 0, 0, 96, 96)),
    PICTURE("rotate_floor", "Rotations", "A receding floor of the sprite, darker far away.",
            zoDraw::DrawRotateFloor(0, 48, 224, 144, 15, 0.3f, 0.012f, 0.3f, 0.012f, 0.9f, 0.9f, 1.0f,
                                    sprite, 0, 0, 96, 96)),

    // ---- Tunnel ----
    PICTURE("tunnel", "Tunnel", "The sprite as the wall of a round tunnel.",
            zoDraw::BuildTunnelMap(96, 96, 224, 144, -1, -1, -1, 0, 0, 0);
            zoDraw::DrawTunnel(0, 0, 0, 24, sprite)),
    PICTURE("tunnel_square", "Tunnel", "A square tunnel, its depth by the diamond distance.",
            zoDraw::BuildTunnelMap(96, 96, 224, 144, -1, -1, -1, 0, 1, 4);
            zoDraw::DrawTunnel(0, 0, 10, 0, sprite)),

    // ---- Wipes: a quarter second into opening the picture ----
    PICTURE("wipe_bottom", "Wipes", "Opening from the bottom.",
            zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
            zoDraw::StartWipe(0, 1, 300.0f, 16); frameDelta = 0.25f;
            zoDraw::StepWipe(); Backdrop(); Sprite()),
    PICTURE("wipe_top", "Wipes", "Opening from the top.",
            zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
            zoDraw::StartWipe(0, 2, 300.0f, 16); frameDelta = 0.25f;
            zoDraw::StepWipe(); Backdrop(); Sprite()),
    PICTURE("wipe_right", "Wipes", "Opening from the right.",
            zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
            zoDraw::StartWipe(0, 3, 300.0f, 16); frameDelta = 0.25f;
            zoDraw::StepWipe(); Backdrop(); Sprite()),
    PICTURE("wipe_left", "Wipes", "Opening from the left.",
            zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
            zoDraw::StartWipe(0, 4, 300.0f, 16); frameDelta = 0.25f;
            zoDraw::StepWipe(); Backdrop(); Sprite()),
    PICTURE("wipe_horizontal_centre", "Wipes", "Opening from the horizontal centre line.",
            zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
            zoDraw::StartWipe(0, 5, 100.0f, 16); frameDelta = 0.25f;
            zoDraw::StepWipe(); Backdrop(); Sprite()),
    PICTURE("wipe_vertical_centre", "Wipes", "Opening from the vertical centre line.",
            zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
            zoDraw::StartWipe(0, 6, 100.0f, 16); frameDelta = 0.25f;
            zoDraw::StepWipe(); Backdrop(); Sprite()),
    PICTURE("wipe_centre", "Wipes", "Opening from the centre point.",
            zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
            zoDraw::StartWipe(0, 7, 100.0f, 16); frameDelta = 0.25f;
            zoDraw::StepWipe(); Backdrop(); Sprite()),
    PICTURE("wipe_vertical_band", "Wipes", "A vertical band of 16 pixels, then sideways.",
            zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
            zoDraw::StartWipe(0, 8, 100.0f, 16); frameDelta = 0.25f;
            zoDraw::StepWipe(); zoDraw::StepWipe(); Backdrop(); Sprite()),
    PICTURE("wipe_horizontal_band", "Wipes", "A horizontal band of 16 pixels, then up and down.",
            zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
            zoDraw::StartWipe(0, 9, 100.0f, 16); frameDelta = 0.25f;
            zoDraw::StepWipe(); zoDraw::StepWipe(); Backdrop(); Sprite()),

    // ---- Sprite text ----
    PICTURE("sprite_text", "Sprite text", "Sprite text with a shadow, bold to the right.",
            zoText::BeginText(1, 24, 0, 1, 0, 0); zoText::SetTextColors(RGB(255, 240, 160), 0, 1);
            shadowColor = RGB(40, 0, 60);
            zoText::DrawSpriteText(24, 48, 224, 144, "スプライト文字", TextShadow | TextBoldX);
            zoText::EndText()),
    PICTURE("smooth_text", "Sprite text", "Anti-aliased sprite text from the double-size buffer.",
            zoText::BeginBufferText(1, 24); zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
            zoText::DrawSmoothText(24, 48, 224, 144, "なめらか文字", 0); zoText::EndBufferText()),
};

// Back to the plain background with nothing running: no wipe, no clip, no time.
void ResetScene() {
  frameDelta = 100.0f;
  while (zoDraw::StepWipe()) {
  }
  frameDelta = 0.0f;
  zoDraw::SetClip(0, 0, screenWidth, screenHeight);
  zoDraw::ClearScreen();
  Backdrop();
}

}  // namespace

// 5-6-5 frames whatever the desktop's depth, so the 16-bit effects draw.
void DemoConfigure() { frameDepth = 16; }

void DemoSetup() {
  std::srand(1);  // the effect tables' noise is drawn from rand() by zoDraw::Screen
  zoDraw::Screen(640, 480, 1);
  background = zoDraw::LoadObject("bmp\\back.bmp", 2);
  blocks = zoDraw::LoadObject("bmp\\block.bmp", 2);
  MakeSprite();
  int failures = zoSystem::GetError() ? 1 : 0;

  const std::string folder = std::string(MakeFullPath(0)) + "effects";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string index;
  for (const Picture& p : pictures) {
    ResetScene();
    errorFlag = 0;
    p.draw();
    const std::string file = std::string("effects\\") + p.name + ".bmp";
    if (zoSystem::GetError() || !zoDraw::SaveScreen(file.c_str(), Width, Height)) ++failures;
    index += std::string(p.name) + "\t" + p.family + "\t" + p.description + "\t" + p.call + "\n";
  }
  if (FILE* out = std::fopen((folder + "\\index.txt").c_str(), "wb")) {
    std::fwrite(index.data(), 1, index.size(), out);
    std::fclose(out);
  } else {
    ++failures;
  }
  zoSystem::End();
  if (failures) ExitProcess(static_cast<UINT>(failures));
}

void DemoFrame() {}
