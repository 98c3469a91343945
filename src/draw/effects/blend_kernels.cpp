#include "draw/effects/blend_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "draw/effects/effect_tables.h"
#include "draw/effects/opacity_forms.h"
#include "draw/effects/opacity_weights.h"
#include "draw/effects/simd16.h"
#include "draw/simd/lanes16.h"
#include "draw/simd/simd_form.h"
// The 5-bit blends, the half blend and the opacity blend's vector forms in
// the SSE2 form.
#include "draw/effects/blend_rows.inl"
#include "draw/effects/opacity_rows.inl"

namespace zo {

namespace {

// ---------------------------------------------------------------- float blends

// The product sum in extended precision, truncated.
inline int Mix(float sw, float dw, uint32_t s, uint32_t d) {
  return int(static_cast<long double>(sw) * s + static_cast<long double>(dw) * d);
}

// Both products of a weight below 2^-17 may need more bits than a double
// has; from there up (and at 0) the double sum is exact and equals the
// extended one.
inline bool ExactInDouble(float w) { return w == 0.0f || w >= 1.0f / 131072.0f; }

// One pair of weights: trunc(sw * s + dw * d) per channel.
struct Weights {
  float sw[3], dw[3];
  bool exact;  // the double sum of the products gives the extended result
  void Set(const float src[3], const float dst[3]) {
    exact = true;
    for (int c = 0; c < 3; ++c) {
      sw[c] = src[c];
      dw[c] = dst[c];
      exact = exact && ExactInDouble(src[c]) && ExactInDouble(dst[c]);
    }
  }
  int Channel(int c, uint32_t s, uint32_t d) const {
    if (exact) return int(double(sw[c]) * s + double(dw[c]) * d);
    return Mix(sw[c], dw[c], s, d);
  }
  bool operator==(const Weights& o) const {
    for (int c = 0; c < 3; ++c)
      if (sw[c] != o.sw[c] || dw[c] != o.dw[c]) return false;
    return true;
  }
};

// Every pair of six-bit components, pre-shifted, so that a pixel is three
// lookups.
struct MixTable {
  uint16_t entry[3][64 * 64];
  void Fill(const OpacityChannels& ch, const Weights& w) {
    for (int c = 0; c < 3; ++c) {
      const int top = int(ch.max[c]);
      if (!w.exact) {
        for (int s = 0; s <= top; ++s)
          for (int d = 0; d <= top; ++d)
            entry[c][s * 64 + d] = uint16_t(w.Channel(c, s, d) << ch.shift[c]);
        continue;
      }
      double a[64], b[64];
      for (int v = 0; v <= top; ++v) {
        a[v] = double(w.sw[c]) * v;
        b[v] = double(w.dw[c]) * v;
      }
      for (int s = 0; s <= top; ++s) {
        uint16_t* row = entry[c] + s * 64;
        for (int d = 0; d <= top; ++d) row[d] = uint16_t(int(a[s] + b[d]) << ch.shift[c]);
      }
    }
  }
};

// The last table, kept because games draw many sprites at one opacity.
struct MixCache {
  MixTable table;
  Weights weights{};
  PixelLayout format{};
  bool valid = false;
};
MixCache mixCache;

bool SameLayout(const PixelLayout& a, const PixelLayout& b) {
  return a.redMax == b.redMax && a.greenMax == b.greenMax && a.blueMax == b.blueMax &&
         a.redShift == b.redShift && a.greenShift == b.greenShift && a.blueShift == b.blueShift;
}

// Filling a table costs about as much as this many pixels done one by one.
const int64_t TableWorth = 4096;

const MixTable& CachedTable(const OpacityChannels& ch, const PixelLayout& f, const Weights& w) {
  MixCache& cache = mixCache;
  if (!cache.valid || !SameLayout(cache.format, f) || !(cache.weights == w)) {
    cache.table.Fill(ch, w);
    cache.weights = w;
    cache.format = f;
    cache.valid = true;
  }
  return cache.table;
}

// The opacity blend in exact integers (opacity_weights.h): the truncated sum
// is cv plus an arithmetic shift of a 32-bit integer, p split into two 16-bit
// halves for the multiply-adds.
struct ExactMix {
  bool ok = false;
  bool sourceIsU[3];  // cu is the source component (else the destination's)

  explicit ExactMix(const Weights& w) {
    for (int c = 0; c < 3; ++c) {
      SplitWeights split;
      if (!SplitOpacity(w.sw[c], w.dw[c], &split)) return;
      sourceIsU[c] = split.sourceIsU;
      const int high = split.p >> 15, low = split.p & 0x7FFF;  // p = high * 2^15 + low
      lowRest[c] = _mm_set1_epi32(low | int(uint32_t(uint16_t(split.rest)) << 16));
      highOnly[c] = _mm_set1_epi32(high);
      count[c] = _mm_cvtsi32_si128(split.shift);
    }
    ok = true;
  }
  __m128i lowRest[3], highOnly[3], count[3];

  // Eight channel values (full width, at most six bits) of source and
  // destination to eight results.
  __m128i Channel(int c, __m128i s, __m128i d) const {
    const __m128i cu = sourceIsU[c] ? s : d, cv = sourceIsU[c] ? d : s;
    const __m128i x = _mm_sub_epi16(cu, cv);
    const __m128i lo = _mm_unpacklo_epi16(x, cv), hi = _mm_unpackhi_epi16(x, cv);
    const __m128i lowRest = this->lowRest[c], highOnly = this->highOnly[c], count = this->count[c];
    const __m128i sumLo = _mm_add_epi32(_mm_slli_epi32(_mm_madd_epi16(lo, highOnly), 15), _mm_madd_epi16(lo, lowRest));
    const __m128i sumHi = _mm_add_epi32(_mm_slli_epi32(_mm_madd_epi16(hi, highOnly), 15), _mm_madd_epi16(hi, lowRest));
    const __m128i t = _mm_packs_epi32(_mm_sra_epi32(sumLo, count), _mm_sra_epi32(sumHi, count));
    return _mm_add_epi16(cv, t);
  }
};

void ExactMixRows(const ExactMix& m, const OpacityChannels& ch, uint16_t* dst, const uint16_t* src, int n, int rows,
                  int dstPitch, int srcPitch) {
  const __m128i zero = _mm_setzero_si128();
  __m128i count[3], mask[3];
  for (int c = 0; c < 3; ++c) {
    count[c] = _mm_cvtsi32_si128(ch.shift[c]);
    mask[c] = _mm_set1_epi16(short(ch.max[c]));
  }
  for (int j = 0; j < rows; ++j, src += srcPitch, dst += dstPitch) {
    int i = 0;
    for (; i + 8 <= n; i += 8)
      KeyedEight(dst + i, src + i, [&](__m128i sp, __m128i dp) {
        __m128i out = zero;
        for (int c = 0; c < 3; ++c) {
          const __m128i sc = _mm_and_si128(_mm_srl_epi16(sp, count[c]), mask[c]);
          const __m128i dc = _mm_and_si128(_mm_srl_epi16(dp, count[c]), mask[c]);
          out = _mm_or_si128(out, _mm_sll_epi16(m.Channel(c, sc, dc), count[c]));
        }
        return out;
      });
    // The last few pixels go through the same arithmetic, padded.
    if (i < n) {
      alignas(16) uint16_t s8[8] = {}, d8[8] = {};
      for (int k = 0; i + k < n; ++k) {
        s8[k] = src[i + k];
        d8[k] = dst[i + k];
      }
      ExactMixRows(m, ch, d8, s8, 8, 1, 8, 8);
      for (int k = 0; i + k < n; ++k) dst[i + k] = d8[k];
    }
  }
}

// The cheapest proven vector form of every channel of one pair of weights.
FlatForms FindFlatForms(const OpacityChannels& ch, const Weights& w) {
  FlatForms f;
  int pairs = 0;
  for (int c = 0; c < 3; ++c) {
    if (FindLaneWeight(w.sw[c], w.dw[c], int(ch.max[c]), &f.lane[c])) {
      f.fix = f.fix || f.lane[c].fix;
      continue;
    }
    if (!FindPairWeight(w.sw[c], w.dw[c], int(ch.max[c]), &f.pair[c])) return FlatForms{};
    f.isPair[c] = true;
    ++pairs;
  }
  f.kind = pairs == 0 ? FlatForms::kLane : pairs == 3 ? FlatForms::kPair : FlatForms::kMixed;
  return f;
}

// Runs the proven form over n columns of rows; false where there is none.
bool FormMix(const OpacityChannels& ch, const Weights& w, const OpacityRows& rows) {
  const FlatForms forms = FindFlatForms(ch, w);
  if (forms.kind == FlatForms::kNone) return false;
  FlatFormRows(ch, forms, rows);
  return true;
}

// Mixes the span's columns [c0, c1) of rows [r0, r1) with one pair of weights.
void MixBlock(const BlendJob& job, const OpacityChannels& ch, const Weights& w, int c0, int c1, int r0,
              int r1) {
  const SpriteSpan& sp = job.span;
  const uint16_t* src = job.src.pixels + (sp.srcX + c0) + std::ptrdiff_t(sp.srcY + r0) * job.src.pitch;
  uint16_t* dst = job.dst.pixels + (sp.dstX + c0) + std::ptrdiff_t(sp.dstY + r0) * job.dst.pitch;
  const int n = c1 - c0;
  const int rs = ch.shift[0], gs = ch.shift[1], bs = ch.shift[2];
  const uint32_t rm = ch.max[0], gm = ch.max[1], bm = ch.max[2];
  if (ch.narrow) {
    if (FormMix(ch, w, OpacityRows{dst, src, n, r1 - r0, job.dst.pitch, job.src.pitch})) return;
    const ExactMix exact(w);
    if (exact.ok) {
      ExactMixRows(exact, ch, dst, src, n, r1 - r0, job.dst.pitch, job.src.pitch);
      return;
    }
  }
  if (ch.narrow && int64_t(n) * (r1 - r0) >= TableWorth) {
    const MixTable& t = CachedTable(ch, job.format, w);
    const uint16_t *tr = t.entry[0], *tg = t.entry[1], *tb = t.entry[2];
    // Indices of eight pixels at once; the lookups stay one by one.
    const __m128i zero = _mm_setzero_si128();
    const __m128i rc = _mm_cvtsi32_si128(rs), gc = _mm_cvtsi32_si128(gs), bc = _mm_cvtsi32_si128(bs);
    const __m128i rmv = _mm_set1_epi16(short(rm)), gmv = _mm_set1_epi16(short(gm)),
                  bmv = _mm_set1_epi16(short(bm));
    auto index = [](__m128i s, __m128i d, __m128i count, __m128i mask) {
      return _mm_or_si128(_mm_slli_epi16(_mm_and_si128(_mm_srl_epi16(s, count), mask), 6),
                          _mm_and_si128(_mm_srl_epi16(d, count), mask));
    };
    for (int j = r0; j < r1; ++j, src += job.src.pitch, dst += job.dst.pitch) {
      int i = 0;
      for (; i + 8 <= n; i += 8)
        KeyedEight(dst + i, src + i, [&](__m128i sp, __m128i dp) {
          const __m128i ri = index(sp, dp, rc, rmv), gi = index(sp, dp, gc, gmv), bi = index(sp, dp, bc, bmv);
          __m128i out = zero;
#define ZO_MIX_LANE(k)                                                                     \
  out = _mm_insert_epi16(out, tr[_mm_extract_epi16(ri, k)] | tg[_mm_extract_epi16(gi, k)] | \
                                  tb[_mm_extract_epi16(bi, k)],                             \
                         k)
          ZO_MIX_LANE(0); ZO_MIX_LANE(1); ZO_MIX_LANE(2); ZO_MIX_LANE(3);
          ZO_MIX_LANE(4); ZO_MIX_LANE(5); ZO_MIX_LANE(6); ZO_MIX_LANE(7);
#undef ZO_MIX_LANE
          return out;
        });
      for (; i < n; ++i) {
        const uint32_t s = src[i];
        if (!s) continue;
        const uint32_t d = dst[i];
        dst[i] = uint16_t(tr[((s >> rs) & rm) << 6 | ((d >> rs) & rm)] |
                          tg[((s >> gs) & gm) << 6 | ((d >> gs) & gm)] |
                          tb[((s >> bs) & bm) << 6 | ((d >> bs) & bm)]);
      }
    }
    return;
  }
  for (int j = r0; j < r1; ++j, src += job.src.pitch, dst += job.dst.pitch) {
    for (int i = 0; i < n; ++i) {
      const uint32_t s = src[i];
      if (!s) continue;
      const uint32_t d = dst[i];
      dst[i] = uint16_t(uint32_t(w.Channel(0, (s >> rs) & rm, (d >> rs) & rm)) << rs |
                        uint32_t(w.Channel(1, (s >> gs) & gm, (d >> gs) & gm)) << gs |
                        uint32_t(w.Channel(2, (s >> bs) & bm, (d >> bs) & bm)) << bs);
    }
  }
}

// Destination weights after n steps of the alpha ramp: each step takes
// 1/32 off in single precision, never below 0. From 1 or less, 32 steps
// reach 0.
const int MaxAlphaSteps = 32;
void AlphaRampWeights(const float alpha[3], int n, float sw[3], float dw[3]) {
  for (int c = 0; c < 3; ++c) {
    float w = 1.0f - ClampAlpha(alpha[c]);
    for (int i = 0; i < n && w > 0.0f; ++i) {
      w = w - 0.03125f;
      if (w < 0.0f) w = 0.0f;
    }
    dw[c] = w;
    sw[c] = 1.0f - w;
  }
}

// The ramp over positions [from, to) of its direction, in bands of one pair
// of weights each (the step count only rises, so equal counts lie side by
// side): rows when the ramp runs down, columns when it runs along the rows.
void BandedGradient(const BlendJob& job, const OpacityChannels& ch, const float alpha[3], const Ramp& ramp, int from,
                    int to) {
  const SpriteSpan& sp = job.span;
  const int first = ramp.vertical ? sp.firstRow : sp.firstCol;
  int p = from;
  while (p < to) {
    const int steps = std::min(RampSteps(ramp, first + p), MaxAlphaSteps);
    int q = p + 1;
    while (q < to && std::min(RampSteps(ramp, first + q), MaxAlphaSteps) == steps) ++q;
    float sw[3], dw[3];
    AlphaRampWeights(alpha, steps, sw, dw);
    Weights w;
    w.Set(sw, dw);
    if (ramp.vertical)
      MixBlock(job, ch, w, 0, sp.width, p, q);
    else
      MixBlock(job, ch, w, p, q, 0, sp.height);
    p = q;
  }
}

// The lane form, where it exists, of the weights after a number of steps.
struct StepForm {
  bool known = false, found = false;
  LaneWeight lanes[3] = {};
  void Find(const OpacityChannels& ch, const float alpha[3], int steps) {
    if (known) return;
    known = true;
    float sw[3], dw[3];
    AlphaRampWeights(alpha, steps, sw, dw);
    found = true;
    for (int c = 0; c < 3 && found; ++c) found = FindLaneWeight(sw[c], dw[c], int(ch.max[c]), &lanes[c]);
  }
};

}  // namespace

// ---------------------------------------------------------------- public

void FlatFormRows(const OpacityChannels& ch, const FlatForms& forms, const OpacityRows& rows) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::FlatFormRows(ch, forms, rows);
  FlatFormRowsOf<Sse2Lanes>(ch, forms, rows);
}

void ColumnFormRows(const OpacityChannels& ch, const ColumnWeights& weights, const OpacityRows& rows) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::ColumnFormRows(ch, weights, rows);
  ColumnFormRowsOf<Sse2Lanes>(ch, weights, rows);
}

float ClampAlpha(float alpha) {
  if (!(alpha > 0.0f)) return 0.0f;
  return alpha > 1.0f ? 1.0f : alpha;
}

int AddLevelToK(float level) {
  // Out-of-range or NaN levels are held to the table's range first.
  const float held = !(level > 0.0f) ? 0.0f : level > 1.0f ? 1.0f : level;
  return ClampLevel(int(31.0f - 31.0f * held));
}

int RampSteps(const Ramp& ramp, int p) {
  if (p <= ramp.start) return 0;
  const int past = p - ramp.start;
  return ramp.every > 0 ? past / ramp.every : past;
}

void HalfBlendKernel(const BlendJob& job) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::HalfBlendKernel(job);
  HalfBlendRows<Sse2Lanes>(job);
}

void AlphaBlendKernel(const BlendJob& job, const float alpha[3]) {
  const OpacityChannels ch(job.format);
  float sw[3], dw[3];
  for (int c = 0; c < 3; ++c) {
    sw[c] = ClampAlpha(alpha[c]);
    dw[c] = 1.0f - sw[c];
  }
  Weights w;
  w.Set(sw, dw);
  MixBlock(job, ch, w, 0, job.span.width, 0, job.span.height);
}

void AlphaGradientKernel(const BlendJob& job, const float alpha[3], const Ramp& ramp) {
  const OpacityChannels ch(job.format);
  const SpriteSpan& sp = job.span;
  if (ramp.vertical) {
    BandedGradient(job, ch, alpha, ramp, 0, sp.height);
    return;
  }
  if (!ch.narrow) {
    BandedGradient(job, ch, alpha, ramp, 0, sp.width);
    return;
  }
  // Along the rows every few columns take new weights: the lane form of
  // every step count is found once, and the rows run eight columns at a
  // time with the weights of each column, a stretch of columns at a time.
  // (A ramp's weights are exact complements, which the lane form takes
  // down to the faintest; those below 2^-8 go band by band.)
  StepForm forms[MaxAlphaSteps + 1];
  const int chunk = 1024;  // a whole screen row: the rows are walked once
  // Readable a whole vector past the last column.
  int16_t laneA[3][chunk + 16] = {};
  uint16_t laneFix[3][chunk + 16] = {};
  for (int i0 = 0; i0 < sp.width; i0 += chunk) {
    const int n = std::min(chunk, sp.width - i0);
    bool found = true, fix = false;
    for (int i = 0; i < n && found; ++i) {
      const int steps = std::min(RampSteps(ramp, sp.firstCol + i0 + i), MaxAlphaSteps);
      StepForm& f = forms[steps];
      f.Find(ch, alpha, steps);
      found = f.found;
      for (int c = 0; c < 3; ++c) {
        laneA[c][i] = f.lanes[c].a;
        laneFix[c][i] = f.lanes[c].fix;
        fix = fix || f.lanes[c].fix;
      }
    }
    if (!found) {
      BandedGradient(job, ch, alpha, ramp, i0, i0 + n);
      continue;
    }
    const uint16_t* src = job.src.pixels + sp.srcX + i0 + std::ptrdiff_t(sp.srcY) * job.src.pitch;
    uint16_t* dst = job.dst.pixels + sp.dstX + i0 + std::ptrdiff_t(sp.dstY) * job.dst.pitch;
    ColumnFormRows(ch, ColumnWeights{{laneA[0], laneA[1], laneA[2]}, {laneFix[0], laneFix[1], laneFix[2]}, fix},
                   OpacityRows{dst, src, n, sp.height, job.dst.pitch, job.src.pitch});
  }
}

void CrossFadeKernel(const BlendJob& job, const int level[3]) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::CrossFadeKernel(job, level);
  CrossFadeRows<Sse2Lanes>(job, level);
}

void CrossFadeGradientKernel(const BlendJob& job, const int level[3], const Ramp& ramp) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::CrossFadeGradientKernel(job, level, ramp);
  CrossFadeGradientRows<Sse2Lanes>(job, level, ramp);
}

void AddKernel(const BlendJob& job, int k) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::AddKernel(job, k);
  AddRows<Sse2Lanes>(job, k);
}

void SubtractKernel(const BlendJob& job) {
  if (ActiveSimdForm() == SimdForm::kAvx2) return avx2::SubtractKernel(job);
  SubtractRows<Sse2Lanes>(job);
}

}  // namespace zo
