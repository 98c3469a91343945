#include "draw/effects/filter_kernels.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "draw/effects/effect_tables.h"
#include "draw/effects/simd16.h"
#include "draw/simd/lanes16.h"
#include "draw/simd/simd_form.h"
// The per-pixel 5-bit filters in the SSE2 form.
#include "draw/effects/filter_rows.inl"

namespace zo {

namespace {

// ---------------------------------------------------------------- blur

// floor(h / n) for every h below 65536 from a 16-bit reciprocal that may
// come out one short, and one correction.
struct Divider {
  int n;
  __m128i m, nv, nLess;
  explicit Divider(int count)
      : n(count), m(_mm_set1_epi16(short(uint16_t(count > 1 ? 65536 / count : 0)))),
        nv(_mm_set1_epi16(short(count))), nLess(_mm_set1_epi16(short(count - 1))) {}
  __m128i operator()(__m128i h) const {
    if (n == 1) return h;
    __m128i q = _mm_mulhi_epu16(h, m);
    const __m128i rest = _mm_sub_epi16(h, _mm_mullo_epi16(q, nv));  // below 2n
    return _mm_sub_epi16(q, _mm_cmpgt_epi16(rest, nLess));
  }
  int operator()(int h) const { return h / n; }
};

// The 5-bit components of one row into three planes.
void RowComponents(Layout layout, const uint16_t* s, int w, uint16_t* r, uint16_t* g, uint16_t* b) {
  int i = 0;
  if (layout != Layout::Other) {
    for (; i + 8 <= w; i += 8) {
      __m128i cr, cg, cb;
      if (layout == Layout::k565)
        Components<Sse2Lanes, Layout::k565>(Load8(s + i), &cr, &cg, &cb);
      else
        Components<Sse2Lanes, Layout::k555>(Load8(s + i), &cr, &cg, &cb);
      Store8(r + i, cr);
      Store8(g + i, cg);
      Store8(b + i, cb);
    }
  }
  for (; i < w; ++i) {
    const uint8_t* c = ComponentTable[s[i]];
    r[i] = c[0];
    g[i] = c[1];
    b[i] = c[2];
  }
}

// sum += add - sub over n lanes, 16-bit wrapping (every true sum fits).
void Slide(uint16_t* sum, const uint16_t* add, const uint16_t* sub, int n) {
  WalkRow(
      n, [&](int i) { Store8(sum + i, _mm_sub_epi16(_mm_add_epi16(Load8(sum + i), Load8(add + i)), Load8(sub + i))); },
      [&](int i) { sum[i] = uint16_t(sum[i] + add[i] - sub[i]); });
}

// p[0] = 0 and p[i + 1] = p[i] + v[i] over n values, 16-bit wrapping: each
// eight by three shifted adds and the running total of the eight before.
void PrefixSums(uint16_t* p, const uint16_t* v, int n) {
  p[0] = 0;
  __m128i carry = _mm_setzero_si128();
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m128i x = Load8(v + i);
    x = _mm_add_epi16(x, _mm_slli_si128(x, 2));
    x = _mm_add_epi16(x, _mm_slli_si128(x, 4));
    x = _mm_add_epi16(x, _mm_slli_si128(x, 8));
    x = _mm_add_epi16(x, carry);
    Store8(p + i + 1, x);
    carry = _mm_shuffle_epi32(_mm_shufflehi_epi16(x, 0xFF), 0xFF);  // lane 7 everywhere
  }
  for (uint16_t run = p[i]; i < n; ++i) p[i + 1] = run = uint16_t(run + v[i]);
}

}  // namespace

// ---------------------------------------------------------------- public

float HoldFactor(float factor) { return factor > 0.0f ? factor : 0.0f; }

uint16_t ChannelMaskOf(const PixelLayout& f, int red, int green, int blue) {
  return uint16_t((red ? f.redMask : 0) | (green ? f.greenMask : 0) | (blue ? f.blueMask : 0));
}

void ChannelMaskKernel(const FilterJob& job, uint16_t mask) {
  const __m128i m = _mm_set1_epi16(short(mask));
  const int w = job.span.width;
  for (int j = 0; j < job.span.height; ++j) {
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    WalkRow(
        w,
        [&](int i) {
          const __m128i sp = Load8(s + i);
          Store8(d + i, KeepClear(sp, Load8(d + i), _mm_and_si128(sp, m)));
        },
        [&](int i) {
          if (s[i]) d[i] = uint16_t(s[i] & mask);
        });
  }
}

void BrightnessKernel(const FilterJob& job, const float factor[3]) {
  const PixelLayout& f = job.format;
  const int shift[3] = {f.redShift, f.greenShift, f.blueShift};
  const uint32_t max[3] = {f.redMax, f.greenMax, f.blueMax};
  // Every component value of each channel, scaled and put in place. The
  // product of a float and a component below 2^16 is exact in double, so it
  // equals the extended one.
  std::vector<uint16_t> table[3];
  for (int c = 0; c < 3; ++c) {
    const double k = HoldFactor(factor[c]);
    table[c].resize(max[c] + 1);
    for (uint32_t v = 0; v <= max[c]; ++v) {
      const double p = v ? double(v) * k : 0.0;
      const uint32_t out = p >= double(max[c]) ? max[c] : uint32_t(p);
      table[c][v] = uint16_t(out << shift[c]);
    }
  }
  const uint16_t *tr = table[0].data(), *tg = table[1].data(), *tb = table[2].data();
  const int rs = shift[0], gs = shift[1], bs = shift[2];
  const uint32_t rm = max[0], gm = max[1], bm = max[2];
  const int w = job.span.width;
  for (int j = 0; j < job.span.height; ++j) {
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    for (int i = 0; i < w; ++i) {
      const uint32_t p = s[i];
      if (p) d[i] = uint16_t(tr[(p >> rs) & rm] | tg[(p >> gs) & gm] | tb[(p >> bs) & bm]);
    }
  }
}

void DarkenKernel(const FilterJob& job, const int level[3]) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::DarkenKernel(job, level);
  DarkenRows<Sse2Lanes>(job, level);
}

void GrayKernel(const FilterJob& job) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::GrayKernel(job);
  GrayRows<Sse2Lanes>(job);
}

int BlurSizeFor(int size, int width, int height) {
  return std::max(0, std::min({size, MaxBlurSize, width, height}));
}

void BlurKernel(const FilterJob& job, int size) {
  const int w = job.span.width, h = job.span.height;
  if (size < 1) return;
  const int n = BlurSizeFor(size, w, h);
  if (n < 1) return;
  const Layout layout = LayoutOf(job.format);
  const Divider divide(n * n);
  const size_t pad = size_t(w) + 16;
  // Per channel: the column sums of the block's rows and their running sums
  // along the row; the components of the block's n rows, kept so that a row
  // is split into components once, and of the row about to enter.
  std::vector<uint16_t> store(pad * (3 * size_t(n + 3) + 1), 0);
  uint16_t* column[3] = {&store[0], &store[pad], &store[pad * 2]};
  const uint16_t* zeros = &store[pad * 3 * size_t(n + 3)];
  uint16_t* prefix[3] = {&store[pad * 3], &store[pad * 4], &store[pad * 5]};
  std::vector<uint16_t*> rows(size_t(n + 1) * 3);  // row r of the block at (r % (n + 1)) * 3 + c
  for (size_t k = 0; k < rows.size(); ++k) rows[k] = &store[pad * (6 + k)];
  auto rowOf = [&](int r) { return &rows[size_t(r % (n + 1)) * 3]; };
  std::vector<uint16_t> blurred(size_t(w) + 8);

  for (int r = 0; r < n; ++r) {
    uint16_t** in = rowOf(r);
    RowComponents(layout, SrcRow(job, r), w, in[0], in[1], in[2]);
    for (int c = 0; c < 3; ++c) Slide(column[c], in[c], zeros, w);
  }
  const PixelLayout& f = job.format;
  const int last = w - n;  // the block's first column never passes it
  for (int j = 0; j < h; ++j) {
    if (j > 0 && j <= h - n) {  // the block moves down one row
      uint16_t** in = rowOf(j + n - 1);
      uint16_t** out = rowOf(j - 1);
      RowComponents(layout, SrcRow(job, j + n - 1), w, in[0], in[1], in[2]);
      for (int c = 0; c < 3; ++c) Slide(column[c], in[c], out[c], w);
    }
    if (j <= h - n) {  // further down the block (and so the row) stays
      for (int c = 0; c < 3; ++c) PrefixSums(prefix[c], column[c], w);
      int i = 0;
      if (layout != Layout::Other) {
        for (; i + 8 <= last + 1; i += 8) {
          __m128i q[3];
          for (int c = 0; c < 3; ++c) q[c] = divide(_mm_sub_epi16(Load8(prefix[c] + i + n), Load8(prefix[c] + i)));
          Store8(&blurred[size_t(i)], layout == Layout::k565 ? Compose<Sse2Lanes, Layout::k565>(q[0], q[1], q[2])
                                                            : Compose<Sse2Lanes, Layout::k555>(q[0], q[1], q[2]));
        }
      }
      for (; i <= last; ++i) {
        int q[3];
        for (int c = 0; c < 3; ++c) q[c] = divide(int(uint16_t(prefix[c][i + n] - prefix[c][i])));
        blurred[size_t(i)] = Compose5(f, q[0], q[1], q[2]);
      }
      for (i = last + 1; i < w; ++i) blurred[size_t(i)] = blurred[size_t(last)];
    }
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    int i = 0;
    for (; i + 8 <= w; i += 8) Store8(d + i, KeepClear(Load8(s + i), Load8(d + i), Load8(&blurred[size_t(i)])));
    for (; i < w; ++i)
      if (s[i]) d[i] = blurred[size_t(i)];
  }
}

void SoftEdgeKernel(const FilterJob& job) {
  const int w = job.span.width, h = job.span.height;
  const PixelLayout& f = job.format;
  const __m128i zero = _mm_setzero_si128();
  // Stands in for the row above the first and below the last: nothing there
  // is transparent.
  std::vector<uint16_t> opaque(size_t(w) + 8, 1);
  for (int j = 0; j < h; ++j) {
    uint16_t* d = DstRow(job, j);
    const uint16_t* s = SrcRow(job, j);
    const uint16_t* up = j > 0 ? SrcRow(job, j - 1) : opaque.data();
    const uint16_t* down = j < h - 1 ? SrcRow(job, j + 1) : opaque.data();
    auto one = [&](int i) {
      const uint16_t p = s[i];
      if (!p) return;
      const uint8_t* c = ComponentTable[p];
      int sum[3] = {c[0], c[1], c[2]};
      int count = 1;
      auto take = [&](bool inside, uint16_t source, uint16_t background) {
        if (!inside || source) return;
        const uint8_t* b = ComponentTable[background];
        sum[0] += b[0];
        sum[1] += b[1];
        sum[2] += b[2];
        ++count;
      };
      take(i > 0, i > 0 ? s[i - 1] : 1, i > 0 ? d[i - 1] : 0);
      take(i < w - 1, i < w - 1 ? s[i + 1] : 1, i < w - 1 ? d[i + 1] : 0);
      take(j > 0, up[i], j > 0 ? d[i - std::ptrdiff_t(job.dst.pitch)] : 0);
      take(j < h - 1, down[i], j < h - 1 ? d[i + std::ptrdiff_t(job.dst.pitch)] : 0);
      d[i] = count < 2 ? p : Compose5(f, sum[0] / count, sum[1] / count, sum[2] / count);
    };
    int i = 0;
    if (w > 0) one(i++);
    // Eight at a time where no pixel touches a transparent one: a copy.
    for (; i + 8 < w; i += 8) {
      const __m128i sp = Load8(s + i);
      const __m128i edge =
          _mm_or_si128(_mm_or_si128(ClearLanes(Load8(s + i - 1)), ClearLanes(Load8(s + i + 1))),
                       _mm_or_si128(ClearLanes(Load8(up + i)), ClearLanes(Load8(down + i))));
      const __m128i visible = _mm_cmpeq_epi16(ClearLanes(sp), zero);
      if (_mm_movemask_epi8(_mm_and_si128(edge, visible)) == 0) {
        Store8(d + i, KeepClear(sp, Load8(d + i), sp));
        continue;
      }
      for (int k = 0; k < 8; ++k) one(i + k);
    }
    for (; i < w; ++i) one(i);
  }
}

int ReadGlowNoise(int& cursor) {
  if (cursor < 0 || cursor >= NoiseTableSize) cursor = 0;
  const int value = NoiseTable[cursor];
  cursor = cursor == NoiseTableSize - 1 ? 0 : cursor + 1;
  return value;
}

void GlowKernel(const FilterJob& job, const Glow& glow, int& cursor) {
  const PixelLayout& f = job.format;
  const IntRect& clip = job.clip;
  // Positions wrap as unsigned 16-bit values; a light that lands outside the
  // clip rectangle or the surface is dropped.
  const uint16_t width = uint16_t(job.span.width), height = uint16_t(job.span.height);
  const uint16_t x = uint16_t(job.span.dstX), y = uint16_t(job.span.dstY);
  struct Ray {
    unsigned bit;
    int dxPerStep, dyPerStep, dy0;
  };
  static const Ray rays[8] = {{0x40, 0, -1, -1}, {0x20, -1, -1, -1}, {0x80, 1, -1, -1}, {0x02, 0, 1, 1},
                              {0x01, -1, 1, 1},  {0x04, 1, 1, 1},    {0x08, -1, 0, 0},  {0x10, 1, 0, 0}};
  Ray chosen[8];
  int count = 0;
  for (const Ray& r : rays)
    if (glow.directions & r.bit) chosen[count++] = r;
  const int pitch = job.dst.pitch;
  const int clipRight = std::min<int>(clip.right, job.dst.width);
  const int clipBottom = std::min<int>(clip.bottom, job.dst.height);
  const int clipLeft = std::max<int>(clip.left, 0), clipTop = std::max<int>(clip.top, 0);
  auto dim = [](int v, unsigned s) { return s >= 8 ? 0 : v >> s; };
  for (uint16_t j = 0; j < height; ++j) {
    const uint16_t* s = SrcRow(job, j);
    for (uint16_t i = 0; i < width; ++i) {
      const uint16_t p = s[i];
      if (!p) continue;
      const uint16_t px = uint16_t(x + i), py = uint16_t(y + j);
      if (glow.copy) job.dst.pixels[std::ptrdiff_t(py) * pitch + px] = p;
      const uint8_t* c = ComponentTable[p];
      int g[3] = {dim(c[0], glow.shift[0]), dim(c[1], glow.shift[1]), dim(c[2], glow.shift[2])};
      const int noise = ReadGlowNoise(cursor);
      for (int& v : g) v = v < noise ? 0 : v - noise;
      if (count == 0) continue;
      for (int r = 0; r <= 30; ++r) {
        for (int& v : g)
          if (v) --v;
        if (!g[0] && !g[1] && !g[2]) break;
        for (int k = 0; k < count; ++k) {
          const Ray& ray = chosen[k];
          const int tx = uint16_t(px + ray.dxPerStep * r);
          const int ty = uint16_t(py + ray.dyPerStep * r + ray.dy0);
          if (tx < clipLeft || tx >= clipRight || ty < clipTop || ty >= clipBottom) continue;
          uint16_t& t = job.dst.pixels[std::ptrdiff_t(ty) * pitch + tx];
          const uint8_t* tc = ComponentTable[t];
          t = Compose5(f, std::min(31, tc[0] + g[0]), std::min(31, tc[1] + g[1]), std::min(31, tc[2] + g[2]));
        }
      }
    }
  }
}

}  // namespace zo
