// The platform-free part of the sprite text renderers on one Japanese line,
// beside SDL2_ttf rendering the same line with IPAGothic. On Windows the
// glyphs are drawn by GDI (TextOutA into a surface), which cannot run here:
// the plain renderer is measured as its layout alone, the smooth renderer as
// its layout plus the ink filter that shrinks the double-size line, over a
// line whose ink SDL2_ttf drew once before timing.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstring>
#include <vector>

#include "text/antialias.h"
#include "text/sprite_text_layout.h"

namespace {

const int W = 640, H = 480, Height = 16;
const char* const fontPath = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
// The same line in the library's Shift-JIS (this file's execution character
// set) and in UTF-8 for SDL2_ttf: 16 full-width characters.
const char* const lineSjis = "吾輩は猫である。名前はまだ無い。";
const char* const lineUtf8 = u8"吾輩は猫である。名前はまだ無い。";
const int characters = 16;

// IPAGothic is monospaced: full-width glyphs are one em wide, half-width
// ones half an em.
struct FixedCells : zo::SpriteTextTarget {
  int em;
  explicit FixedCells(int em) : em(em) {}
  zo::GlyphSize Measure(const char*, int length) override { return {length == 2 ? em : em / 2, em}; }
  void Put(const char*, int, int, int, bool) override {}
  void Flush(int, int, int, int, bool) override {}
};

// The smooth renderer's target: every flushed segment goes through the ink
// filter from the double-size buffer into the font surface over the back.
struct ShrinkingTarget : FixedCells {
  std::vector<uint16_t> buffer, font, back;
  int bufferHeight;
  ShrinkingTarget(TTF_Font* doubleFont) : FixedCells(2 * Height), font(W * H), back(W * H, 0x39E7) {
    SDL_Surface* ink = TTF_RenderUTF8_Solid(doubleFont, lineUtf8, SDL_Color{255, 255, 255, 255});
    bufferHeight = ink ? ink->h : 0;
    buffer.assign(size_t(W) * bufferHeight, 0);
    for (int y = 0; y < bufferHeight; ++y)
      for (int x = 0; x < ink->w && x < W; ++x)
        if (static_cast<const uint8_t*>(ink->pixels)[y * ink->pitch + x]) buffer[y * W + x] = 0xFFFF;
    SDL_FreeSurface(ink);
  }
  void Flush(int x, int y, int width2, int height2, bool) override {
    const zo::InkChannels ch{{11, 6, 0}, 31};
    zo::AntialiasLine16({buffer.data(), W, W, bufferHeight}, {font.data(), W, W, H}, {back.data(), W, W, H}, ch,
                        x, y, 0, 0, width2, height2, IntRect{0, 0, W, H});
  }
};

TTF_Font* Font(int size) {
  static bool ready = TTF_Init() == 0;
  return ready ? TTF_OpenFont(fontPath, size) : nullptr;
}

void Count(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * characters); }

void PlainLayout(benchmark::State& state) {
  FixedCells target(Height);
  for (auto _ : state) {
    zo::LayOutPlainText(lineSjis, 10, 10, W, H, 0, Height, zo::IsSjisLeadByte, target);
    benchmark::DoNotOptimize(textItems.count);
  }
  Count(state);
}

void SmoothLayoutAndShrink(benchmark::State& state) {
  TTF_Font* doubleFont = Font(2 * Height);
  if (!doubleFont) return state.SkipWithError("IPAGothic not found");
  ShrinkingTarget target(doubleFont);
  TTF_CloseFont(doubleFont);
  for (auto _ : state) {
    zo::LayOutSmoothText(lineSjis, 10, 10, W, H, 0, 2 * Height, W, zo::IsSjisLeadByte, target);
    benchmark::DoNotOptimize(target.font[10 * W + 10]);
    benchmark::ClobberMemory();
  }
  Count(state);
}

BENCHMARK(PlainLayout);
BENCHMARK(SmoothLayoutAndShrink);

// ---------------------------------------------------------------- anchors

// Layout and rasterisation of the whole line into a new surface.
void Ttf(benchmark::State& state, SDL_Surface* (*render)(TTF_Font*, const char*, SDL_Color)) {
  TTF_Font* font = Font(Height);
  if (!font) return state.SkipWithError("IPAGothic not found");
  for (auto _ : state) {
    SDL_Surface* s = render(font, lineUtf8, SDL_Color{255, 255, 255, 255});
    benchmark::DoNotOptimize(s->pixels);
    SDL_FreeSurface(s);
  }
  TTF_CloseFont(font);
  Count(state);
}
void TtfSolid(benchmark::State& s) { Ttf(s, TTF_RenderUTF8_Solid); }
void TtfBlended(benchmark::State& s) { Ttf(s, TTF_RenderUTF8_Blended); }

BENCHMARK(TtfSolid);
BENCHMARK(TtfBlended);

}  // namespace

BENCHMARK_MAIN();
