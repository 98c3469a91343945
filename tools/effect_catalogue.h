// Every public effect once, in the gallery's order. Rows with no include
// guard: a program defines both macros, includes this file and undefines
// them; one that needs a single column defines the other as nothing, so the
// native programs never see a Windows call.
//   ZO_PICTURE(name, family, description, call...): the Windows call that
//     draws effects\<name>.bmp, its section of the effects page and one line
//     about it (tools/gallery/gallery.cpp; tests/win/effects_test.cpp makes
//     every call with a back surface that refuses its lock).
//   ZO_KERNEL(key, bench, run...): where the effect has a platform-free
//     kernel, one run of it on the benchmarks' frame through the helpers of
//     bench/bench_kernels.h, named as in bench/instructions.txt and timed by
//     bench/<bench>_bench.cpp (the `rows` by none).
// A new effect is its picture row and its kernel rows here.

// Blends
ZO_PICTURE("half_blend", "Blends", "The channel-wise mean of sprite and background.",
    zoDraw::DrawHalfBlend(64, 24, sprite, 0, 0, 96, 96))
ZO_KERNEL("HalfBlend", blend, zo::HalfBlendKernel(bench::Blend()))
ZO_PICTURE("alpha_blend", "Blends", "The sprite at 30 % opacity.",
    zoDraw::DrawAlphaBlend(64, 24, 0.3f, sprite, 0, 0, 96, 96))
ZO_KERNEL("AlphaBlend", blend, zo::AlphaBlendKernel(bench::Blend(), bench::Floats(0.3f, 0.3f, 0.3f)))
ZO_PICTURE("alpha_blend_rgb", "Blends", "Opaque in red, faint in green and blue.",
    zoDraw::DrawAlphaBlendRGB(64, 24, 1.0f, 0.2f, 0.2f, sprite, 0, 0, 96, 96))
ZO_KERNEL("AlphaBlendRGB", blend, zo::AlphaBlendKernel(bench::Blend(), bench::Floats(0.2f, 0.5f, 0.8f)))
ZO_PICTURE("alpha_gradient", "Blends", "Opacity rising by 1/32 every 3 rows from the top.",
    zoDraw::DrawAlphaGradient(64, 24, 0.0f, 0.0f, 0.0f, 1, 0, 3, sprite, 0, 0, 96, 96))
ZO_KERNEL("AlphaGradientVertical", blend,
          zo::AlphaGradientKernel(bench::Blend(), bench::Floats(0.1f, 0.2f, 0.3f), zo::Ramp{1, 20, 4}))
ZO_KERNEL("AlphaGradientHorizontal", blend,
          zo::AlphaGradientKernel(bench::Blend(), bench::Floats(0.1f, 0.2f, 0.3f), zo::Ramp{0, 20, 4}))
ZO_PICTURE("cross_fade", "Blends", "Cross-fade level 12 of 31.",
    zoDraw::DrawCrossFade(64, 24, 12, sprite, 0, 0, 96, 96))
ZO_KERNEL("CrossFade", blend, zo::CrossFadeKernel(bench::Blend(), bench::Ints(16, 16, 16)))
ZO_PICTURE("cross_fade_rgb", "Blends", "Blue at full level, red and green faded out.",
    zoDraw::DrawCrossFadeRGB(64, 24, 4, 4, 31, sprite, 0, 0, 96, 96))
ZO_KERNEL("CrossFadeRGB", blend, zo::CrossFadeKernel(bench::Blend(), bench::Ints(8, 16, 24)))
ZO_PICTURE("cross_fade_gradient", "Blends", "Cross-fade rising one level every 3 columns.",
    zoDraw::DrawCrossFadeGradient(64, 24, 0, 0, 0, 0, 0, 3, sprite, 0, 0, 96, 96))
ZO_KERNEL("CrossFadeGradientVertical", blend,
          zo::CrossFadeGradientKernel(bench::Blend(), bench::Ints(4, 8, 12), zo::Ramp{1, 20, 4}))
ZO_KERNEL("CrossFadeGradientHorizontal", blend,
          zo::CrossFadeGradientKernel(bench::Blend(), bench::Ints(4, 8, 12), zo::Ramp{0, 20, 4}))
ZO_PICTURE("add", "Blends", "Saturating additive blend.", zoDraw::DrawAdd(64, 24, sprite, 0, 0, 96, 96))
ZO_KERNEL("Add", blend, zo::AddKernel(bench::Blend(), 0))
ZO_PICTURE("add_level", "Blends", "Additive blend of the sprite at half strength.",
    zoDraw::DrawAddLevel(64, 24, 0.5f, sprite, 0, 0, 96, 96))
ZO_KERNEL("AddLevel", blend, zo::AddKernel(bench::Blend(), zo::AddLevelToK(0.6f)))
ZO_PICTURE("subtract", "Blends", "The sprite subtracted from the background.",
    zoDraw::DrawSubtract(64, 24, sprite, 0, 0, 96, 96))
ZO_KERNEL("Subtract", blend, zo::SubtractKernel(bench::Blend()))
ZO_PICTURE("half_fill_rect", "Blends", "A rectangle half way toward magenta (a raw 5-6-5 value).",
    zoDraw::HalfFillRect(32, 24, 192, 120, 0xF81F))

// Colour filters
ZO_PICTURE("channel_mask", "Colour filters", "Only the green channel kept.",
    zoDraw::DrawChannelMask(64, 24, 0, 1, 0, sprite, 0, 0, 96, 96))
ZO_KERNEL("ChannelMask", filter,
          zo::ChannelMaskKernel(bench::Filter(), zo::ChannelMaskOf(bench::k565, 1, 0, 1)))
ZO_PICTURE("brightness", "Colour filters", "Every channel scaled by 1.6, saturating.",
    zoDraw::DrawBrightness(64, 24, 1.6f, sprite, 0, 0, 96, 96))
ZO_KERNEL("Brightness", filter, zo::BrightnessKernel(bench::Filter(), bench::Floats(0.6f, 0.6f, 0.6f)))
ZO_PICTURE("brightness_rgb", "Colour filters", "Red doubled, green and blue halved.",
    zoDraw::DrawBrightnessRGB(64, 24, 2.0f, 0.5f, 0.5f, sprite, 0, 0, 96, 96))
ZO_KERNEL("BrightnessRGB", filter, zo::BrightnessKernel(bench::Filter(), bench::Floats(0.4f, 0.6f, 0.8f)))
ZO_PICTURE("darken", "Colour filters", "Darkened to level 12 of 31.",
    zoDraw::DrawDarken(64, 24, 12, sprite, 0, 0, 96, 96))
ZO_KERNEL("Darken", filter, zo::DarkenKernel(bench::Filter(), bench::Ints(16, 16, 16)))
ZO_PICTURE("darken_rgb", "Colour filters", "Red kept, green and blue darkened to level 6.",
    zoDraw::DrawDarkenRGB(64, 24, 31, 6, 6, sprite, 0, 0, 96, 96))
ZO_KERNEL("DarkenRGB", filter, zo::DarkenKernel(bench::Filter(), bench::Ints(8, 16, 24)))
ZO_PICTURE("gray", "Colour filters", "The mean of the three channels in all three.",
    zoDraw::DrawGray(64, 24, sprite, 0, 0, 96, 96))
ZO_KERNEL("Gray", filter, zo::GrayKernel(bench::Filter()))
ZO_PICTURE("blur", "Colour filters", "The mean of every 7 x 7 block of the sprite.",
    zoDraw::DrawBlur(64, 24, 7, sprite, 0, 0, 96, 96))
ZO_KERNEL("Blur3", filter, zo::BlurKernel(bench::Filter(), 3))
ZO_KERNEL("Blur9", filter, zo::BlurKernel(bench::Filter(), 9))
ZO_PICTURE("soft_edge", "Colour filters", "Outline pixels averaged with the background beside them.",
    zoDraw::DrawSoftEdge(64, 24, sprite, 0, 0, 96, 96))
ZO_KERNEL("SoftEdge", filter, zo::SoftEdgeKernel(bench::Filter()))
ZO_PICTURE("glow", "Colour filters", "Light along all eight rays, the sprite drawn on top.",
    zoDraw::DrawGlow(64, 24, 2, 2, 2, 0xFF, 1, sprite, 0, 0, 96, 96))
ZO_KERNEL("GlowFour", filter,
          zo::GlowKernel(bench::Filter(), zo::Glow{{1, 1, 1}, 0x0F, 1}, bench::TheScene().glowCursor))
ZO_KERNEL("GlowEight", filter,
          zo::GlowKernel(bench::Filter(), zo::Glow{{1, 1, 1}, 0xFF, 1}, bench::TheScene().glowCursor))

// Mirror, smear, distortion and row blits
ZO_PICTURE("mirror", "Mirror, smear and distortion", "Mirrored left-right and top-bottom.",
    zoDraw::DrawMirror(64, 24, 3, sprite, 0, 0, 96, 96))
ZO_KERNEL("Mirror/0", mirror, zo::MirrorKernel(bench::Distort(bench::whole), 0))
ZO_KERNEL("Mirror/1", mirror, zo::MirrorKernel(bench::Distort(bench::whole), 1))
ZO_KERNEL("Mirror/2", mirror, zo::MirrorKernel(bench::Distort(bench::whole), 2))
ZO_KERNEL("Mirror/3", mirror, zo::MirrorKernel(bench::Distort(bench::whole), 3))
ZO_PICTURE("smear", "Mirror, smear and distortion", "Column 40 of the sprite stretched to the right.",
    zoDraw::DrawSmear(64, 24, 0, 40, sprite, 0, 0, 96, 96))
ZO_KERNEL("Smear/0", mirror,
          zo::SmearKernel(bench::Distort(zo::SmearPlacement(bench::whole, 0, bench::W, bench::H)), 0,
                          bench::W / 2))
ZO_KERNEL("Smear/1", mirror,
          zo::SmearKernel(bench::Distort(zo::SmearPlacement(bench::whole, 1, bench::W, bench::H)), 1,
                          bench::W / 2))
ZO_KERNEL("Smear/2", mirror,
          zo::SmearKernel(bench::Distort(zo::SmearPlacement(bench::whole, 2, bench::W, bench::H)), 2,
                          bench::H / 2))
ZO_KERNEL("Smear/3", mirror,
          zo::SmearKernel(bench::Distort(zo::SmearPlacement(bench::whole, 3, bench::W, bench::H)), 3,
                          bench::H / 2))
ZO_PICTURE("ripple", "Mirror, smear and distortion",
    "Every pixel scattered over a rippled, sheared surface.",
    zoDraw::DrawRipple(64, 24, 6, 3, 1, 1.0f, 0.3f, sprite, 0, 0, 96, 96))
ZO_KERNEL("Ripple", mirror, zo::RippleKernel(bench::Distort(bench::whole), zo::Ripple{8, 4, 1, 1.0f, 0.0f}))
ZO_PICTURE("displace", "Mirror, smear and distortion",
    "The background pulled up by the sprite's red channel.",
    zoDraw::DrawDisplace(64, 24, 0.5f, sprite, 0, 0, 96, 96))
ZO_KERNEL("Displace", mirror, zo::DisplaceKernel(bench::Distort(bench::whole), zo::DisplaceLevel(0.5f)))
ZO_PICTURE("scanlines", "Mirror, smear and distortion", "Every third row of the sprite.",
    zoDraw::DrawScanlines(64, 24, 3, sprite, 0, 0, 96, 96))
ZO_KERNEL("Scanlines", rows,
          zo::Scanlines(bench::CountingRows(), bench::wholeRows, 0, 0, 2, 0, 0, 0, bench::W, bench::H))
ZO_PICTURE("jitter", "Mirror, smear and distortion", "Every row shifted sideways by up to 6 pixels.",
    zoDraw::DrawJitter(64, 24, 6, sprite, 0, 0, 96, 96))
ZO_KERNEL("Jitter", rows,
          zo::Jitter(bench::CountingRows(), bench::wholeRows, 0, 0, 8, 0, 0, 0, bench::W, bench::H))
ZO_PICTURE("wave", "Mirror, smear and distortion", "Rows spread over a cosine profile, a quarter second on.",
    frameDelta = 0.25f; zoDraw::DrawWave(64, 24, 1, 20.0f, sprite, 0, 0, 96, 96))
ZO_KERNEL("Wave", rows,
          zo::Wave(bench::CountingRows(), bench::wholeRows, 0.0f, 1.0f, 0, 0, 1, 0, 0, 0, bench::W, bench::H))

// Row effects
ZO_PICTURE("row_wave", "Row effects", "Row r shifted by 16 cos(r degrees).",
    zoDraw::DrawRowWave(64, 24, 16, 0, 90.0f, sprite, 0, 0, 96, 96, 0))
ZO_PICTURE("row_wave_alternate", "Row effects", "The same wave, every other row the other way.",
    zoDraw::DrawRowWave(64, 24, 16, 0, 90.0f, sprite, 0, 0, 96, 96, 1))
ZO_PICTURE("tile_scroll", "Row effects", "The top-left block tiled over the screen, scrolled.",
    frameDelta = 0.25f; zoDraw::DrawTileScroll(40.0f, 20.0f, sprite, 0, 0, 48, 48))
ZO_PICTURE("row_wave_scroll", "Row effects", "A waved sprite whose rows also scroll.",
    frameDelta = 0.25f; zoDraw::DrawRowWaveScroll(64, 24, 16, 0, 90.0f, 40.0f, sprite, 0, 0, 96, 96))
ZO_PICTURE("row_wave_tile", "Row effects", "A band of rows 30..120, tiled and waved.",
    frameDelta = 0.25f; zoDraw::DrawRowWaveTile(30, 120, 16, 0, 90.0f, 40.0f, sprite, 0, 0, 96, 96))
ZO_PICTURE("row_mosaic", "Row effects", "Rows repeated in bands of 8.",
    zoDraw::DrawRowMosaic(64, 24, 8, sprite, 0, 0, 96, 96))

// Back-surface region effects
ZO_PICTURE("blur_rise", "Region effects", "Twelve steps of the rising blur over the picture.",
    Sprite(); for (int i = 0; i < 12; ++i) zoDraw::ScreenBlurRise(0, 0, 224, 144))
ZO_KERNEL("BlurRise", region,
          zo::BlurRiseKernel(bench::Region(bench::W, bench::H), zo::Channels{0, 0, 0}, bench::TheScene().rise))
ZO_PICTURE("blur_rise_fade", "Region effects", "The rising blur, fading red and green.",
    Sprite(); for (int i = 0; i < 12; ++i) zoDraw::ScreenBlurRiseFade(1, 1, 0, 0, 0, 224, 144))
ZO_PICTURE("smooth", "Region effects", "Two passes of the in-place four-neighbour mean.",
    Sprite(); for (int i = 0; i < 2; ++i) zoDraw::ScreenSmooth(0, 0, 224, 144))
ZO_KERNEL("Smooth", region, zo::SmoothKernel(bench::Region(bench::W, bench::H), zo::Channels{0, 0, 0}))
ZO_PICTURE("smooth_fade", "Region effects", "Two passes of the mean, lowering blue.",
    Sprite(); for (int i = 0; i < 2; ++i) zoDraw::ScreenSmoothFade(0, 0, 1, 0, 0, 224, 144))
ZO_KERNEL("SmoothFaded", region, zo::SmoothKernel(bench::Region(bench::W, bench::H), zo::Channels{1, 1, 1}))
ZO_PICTURE("zoom2", "Region effects", "The sprite's top-left quarter enlarged twice.",
    Sprite(); zoDraw::ScreenZoom2(64, 24, 48, 48, 0))
ZO_KERNEL("Zoom/2/0", region,
          zo::ZoomKernel(bench::Region(bench::W / 2, bench::H / 2), bench::ZoomBuffer(), 2, 0))
ZO_PICTURE("zoom2_dotted", "Region effects", "The same enlargement, only each block's corner written.",
    Sprite(); zoDraw::ScreenZoom2(64, 24, 48, 48, 1))
ZO_KERNEL("Zoom/2/1", region,
          zo::ZoomKernel(bench::Region(bench::W / 2, bench::H / 2), bench::ZoomBuffer(), 2, 1))
ZO_PICTURE("zoom4", "Region effects", "A 24 x 24 corner enlarged four times.",
    Sprite(); zoDraw::ScreenZoom4(64, 24, 24, 24, 0))
ZO_KERNEL("Zoom/4/0", region,
          zo::ZoomKernel(bench::Region(bench::W / 4, bench::H / 4), bench::ZoomBuffer(), 4, 0))
ZO_KERNEL("Zoom/4/1", region,
          zo::ZoomKernel(bench::Region(bench::W / 4, bench::H / 4), bench::ZoomBuffer(), 4, 1))
ZO_PICTURE("mosaic_circle", "Region effects", "Blocks of 8 inside a circle of radius 56.",
    Sprite(); zoDraw::ScreenMosaicCircle(112, 72, 56, 8))
ZO_KERNEL("MosaicCircle/8", region,
          zo::MosaicCircleKernel(bench::TheFrame().Screen(), bench::W, bench::H, bench::W / 2,
                                 bench::H / 2, bench::H / 2, 8))
ZO_KERNEL("MosaicCircle/2", region,
          zo::MosaicCircleKernel(bench::TheFrame().Screen(), bench::W, bench::H, bench::W / 2,
                                 bench::H / 2, bench::H / 2, 2))
ZO_PICTURE("noise", "Region effects", "Grain shifted left by 2 in every channel.",
    Sprite(); zoDraw::ScreenNoise(2, 0, 0, 224, 144))
ZO_KERNEL("Noise", region,
          zo::NoiseKernel(bench::Region(bench::W, bench::H), zo::Channels{1, 1, 1}, 1,
                          bench::TheScene().noiseCursor))
ZO_PICTURE("noise_rgb", "Region effects", "Grain in blue only.",
    Sprite(); zoDraw::ScreenNoiseRGB(0, 0, 1, 2, 0, 0, 224, 144))

// Rotations
ZO_PICTURE("rotate", "Rotations", "Turned 30 degrees about the centre.",
    zoDraw::DrawRotate(40, 0, 184, 144, 30, sprite, 0, 0, 96, 96))
ZO_KERNEL("RotatePlain", rotate, bench::Rotate(zo::RotateForm::Plain, 1.0f))
ZO_PICTURE("rotate_tile", "Rotations", "The picture filled with the turned sprite.",
    zoDraw::DrawRotateTile(0, 0, 224, 144, 30, sprite, 0, 0, 96, 96))
ZO_KERNEL("RotateTile", rotate, bench::Rotate(zo::RotateForm::Tile, 1.0f))
ZO_PICTURE("rotate_zoom", "Rotations", "Turned 45 degrees and scaled by 0.7.",
    zoDraw::DrawRotateZoom(40, 0, 184, 144, 45, 0.7f, sprite, 0, 0, 96, 96))
ZO_KERNEL("RotateZoom", rotate, bench::Rotate(zo::RotateForm::Zoom, 1.5f))
ZO_PICTURE("rotate_zoom_tile", "Rotations", "Turned, scaled by 0.5 and tiled.",
    zoDraw::DrawRotateZoomTile(0, 0, 224, 144, 20, 0.5f, sprite, 0, 0, 96, 96))
ZO_KERNEL("RotateZoomTile", rotate, bench::Rotate(zo::RotateForm::ZoomTile, 0.75f))
ZO_PICTURE("rotate_floor", "Rotations", "A receding floor of the sprite, darker far away.",
    zoDraw::DrawRotateFloor(0, 48, 224, 144, 15, 0.3f, 0.012f, 0.3f, 0.012f, 0.9f, 0.9f, 1.0f,
                            sprite, 0, 0, 96, 96))
ZO_KERNEL("RotateFloor", rotate, bench::Rotate(zo::RotateForm::Floor, 1.0f))

// Tunnel
ZO_PICTURE("tunnel", "Tunnel", "The sprite as the wall of a round tunnel.",
    zoDraw::BuildTunnelMap(96, 96, 224, 144, -1, -1, -1, 0, 0, 0);
    zoDraw::DrawTunnel(0, 0, 0, 24, sprite))
ZO_KERNEL("Tunnel", tunnel, bench::Tunnel(0, 0))
ZO_KERNEL("TunnelScrolled", tunnel, bench::Tunnel(77, 131))
ZO_PICTURE("tunnel_square", "Tunnel", "A square tunnel, its depth by the diamond distance.",
    zoDraw::BuildTunnelMap(96, 96, 224, 144, -1, -1, -1, 0, 1, 4);
    zoDraw::DrawTunnel(0, 0, 10, 0, sprite))

// Wipes: a quarter second into opening the picture
ZO_PICTURE("wipe_bottom", "Wipes", "Opening from the bottom.",
    zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
    zoDraw::StartWipe(0, 1, 300.0f, 16); frameDelta = 0.25f;
    zoDraw::StepWipe(); Backdrop(); Sprite())
ZO_PICTURE("wipe_top", "Wipes", "Opening from the top.",
    zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
    zoDraw::StartWipe(0, 2, 300.0f, 16); frameDelta = 0.25f;
    zoDraw::StepWipe(); Backdrop(); Sprite())
ZO_PICTURE("wipe_right", "Wipes", "Opening from the right.",
    zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
    zoDraw::StartWipe(0, 3, 300.0f, 16); frameDelta = 0.25f;
    zoDraw::StepWipe(); Backdrop(); Sprite())
ZO_PICTURE("wipe_left", "Wipes", "Opening from the left.",
    zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
    zoDraw::StartWipe(0, 4, 300.0f, 16); frameDelta = 0.25f;
    zoDraw::StepWipe(); Backdrop(); Sprite())
ZO_PICTURE("wipe_horizontal_centre", "Wipes", "Opening from the horizontal centre line.",
    zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
    zoDraw::StartWipe(0, 5, 100.0f, 16); frameDelta = 0.25f;
    zoDraw::StepWipe(); Backdrop(); Sprite())
ZO_PICTURE("wipe_vertical_centre", "Wipes", "Opening from the vertical centre line.",
    zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
    zoDraw::StartWipe(0, 6, 100.0f, 16); frameDelta = 0.25f;
    zoDraw::StepWipe(); Backdrop(); Sprite())
ZO_PICTURE("wipe_centre", "Wipes", "Opening from the centre point.",
    zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
    zoDraw::StartWipe(0, 7, 100.0f, 16); frameDelta = 0.25f;
    zoDraw::StepWipe(); Backdrop(); Sprite())
ZO_PICTURE("wipe_vertical_band", "Wipes", "A vertical band of 16 pixels, then sideways.",
    zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
    zoDraw::StartWipe(0, 8, 100.0f, 16); frameDelta = 0.25f;
    zoDraw::StepWipe(); zoDraw::StepWipe(); Backdrop(); Sprite())
ZO_PICTURE("wipe_horizontal_band", "Wipes", "A horizontal band of 16 pixels, then up and down.",
    zoDraw::ClearScreen(); zoDraw::SetClip(0, 0, 224, 144);
    zoDraw::StartWipe(0, 9, 100.0f, 16); frameDelta = 0.25f;
    zoDraw::StepWipe(); zoDraw::StepWipe(); Backdrop(); Sprite())

// Sprite text
ZO_PICTURE("sprite_text", "Sprite text", "Sprite text with a shadow, bold to the right.",
    zoText::BeginText(1, 24, 0, 1, 0, 0); zoText::SetTextColors(RGB(255, 240, 160), 0, 1);
    shadowColor = RGB(40, 0, 60);
    zoText::DrawSpriteText(24, 48, 224, 144, "スプライト文字", TextShadow | TextBoldX);
    zoText::EndText())
ZO_PICTURE("smooth_text", "Sprite text", "Anti-aliased sprite text from the double-size buffer.",
    zoText::BeginBufferText(1, 24); zoText::SetTextColors(RGB(255, 255, 255), 0, 1);
    zoText::DrawSmoothText(24, 48, 224, 144, "なめらか文字", 0); zoText::EndBufferText())
