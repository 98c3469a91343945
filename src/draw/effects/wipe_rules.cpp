#include "draw/effects/wipe_rules.h"

#include <algorithm>
#include <cmath>

namespace zo {

namespace {

// Edges move in 64 bits and stay inside int32, so no rectangle, band or
// step can overflow them.
int Clamp32(int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
void Move(int32_t& edge, int64_t by) { edge = Clamp32(int64_t(edge) + by); }

int CentreX(const IntRect& r) { return Clamp32(r.left + (int64_t(r.right) - r.left) / 2); }
int CentreY(const IntRect& r) { return Clamp32(r.top + (int64_t(r.bottom) - r.top) / 2); }

bool Same(const IntRect& a, const IntRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The rectangle an opening of this kind starts from.
IntRect OpeningStart(const IntRect& s, int kind, int band) {
  IntRect c = s;
  const int cx = CentreX(s), cy = CentreY(s), half = band / 2;
  switch (kind) {
    case 1: c.top = s.bottom; break;
    case 2: c.bottom = s.top; break;
    case 3: c.left = s.right; break;
    case 4: c.right = s.left; break;
    case 5: c.top = c.bottom = cy; break;
    case 6: c.left = c.right = cx; break;
    case 7: c.left = c.right = cx; c.top = c.bottom = cy; break;
    case 8:
      c.left = Clamp32(int64_t(cx) - half);
      c.right = Clamp32(int64_t(cx) + half);
      c.top = c.bottom = cy;
      break;
    case 9:
      c.left = c.right = cx;
      c.top = Clamp32(int64_t(cy) - half);
      c.bottom = Clamp32(int64_t(cy) + half);
      break;
    default: break;
  }
  return c;
}

// Both edges of an axis move out; answers whether either reached its saved edge.
bool OpenEdges(int32_t& lo, int32_t& hi, int32_t savedLo, int32_t savedHi, int step) {
  Move(lo, -int64_t(step));
  Move(hi, step);
  return lo <= savedLo || hi >= savedHi;
}

// Both edges of an axis move in; answers whether they met or crossed.
bool CloseEdges(int32_t& lo, int32_t& hi, int step) {
  Move(lo, step);
  Move(hi, -int64_t(step));
  return lo >= hi;
}

// One axis of an opening: as soon as either edge reaches its saved edge,
// both take the saved edges.
void OpenAxis(int32_t& lo, int32_t& hi, int32_t savedLo, int32_t savedHi, int step) {
  if (OpenEdges(lo, hi, savedLo, savedHi, step)) {
    lo = savedLo;
    hi = savedHi;
  }
}

// Shapes 8 and 9: the first axis opens to its saved edges, then the second.
void OpenInTurn(int32_t& lo, int32_t& hi, int32_t savedLo, int32_t savedHi, int32_t& lo2, int32_t& hi2,
                int32_t savedLo2, int32_t savedHi2, int step) {
  if (lo != savedLo || hi != savedHi)
    OpenAxis(lo, hi, savedLo, savedHi, step);
  else
    OpenAxis(lo2, hi2, savedLo2, savedHi2, step);
}

// Answers true when the opening is done.
bool StepOpening(IntRect& c, const IntRect& s, int kind, int step) {
  switch (kind) {
    case 1: Move(c.top, -int64_t(step)); return c.top <= s.top;
    case 2: Move(c.bottom, step); return c.bottom >= s.bottom;
    case 3: Move(c.left, -int64_t(step)); return c.left <= s.left;
    case 4: Move(c.right, step); return c.right >= s.right;
    case 5: return OpenEdges(c.top, c.bottom, s.top, s.bottom, step);
    case 6: return OpenEdges(c.left, c.right, s.left, s.right, step);
    case 7:
      OpenAxis(c.left, c.right, s.left, s.right, step);
      OpenAxis(c.top, c.bottom, s.top, s.bottom, step);
      return Same(c, s);
    case 8:
      OpenInTurn(c.top, c.bottom, s.top, s.bottom, c.left, c.right, s.left, s.right, step);
      return Same(c, s);
    case 9:
      OpenInTurn(c.left, c.right, s.left, s.right, c.top, c.bottom, s.top, s.bottom, step);
      return Same(c, s);
    default: return true;  // never started; ends rather than running for ever
  }
}

// One axis of a closing shape 7: both edges move in; once they meet or
// cross, both sit on the centre line. Answers whether they sit there.
bool CloseToCentre(int32_t& lo, int32_t& hi, int centre, int step) {
  if (CloseEdges(lo, hi, step)) lo = hi = centre;
  return lo == centre && hi == centre;
}

// The first stage of closing shapes 8 and 9: the edges move in until either
// reaches its band edge, then both take the band edges.
void CloseToBand(int32_t& lo, int32_t& hi, int64_t centre, int band, int step) {
  const int bandLo = Clamp32(centre - band / 2), bandHi = Clamp32(centre + band / 2);
  Move(lo, step);
  Move(hi, -int64_t(step));
  if (lo >= bandLo || hi <= bandHi) {
    lo = bandLo;
    hi = bandHi;
  }
}

bool AtBand(int32_t lo, int32_t hi, int64_t centre, int band) {
  return lo == Clamp32(centre - band / 2) || hi == Clamp32(centre + band / 2);
}

// Shapes 8 and 9: the first axis closes to the band, which runs while
// neither edge sits on its band edge; then the second axis closes. Answers
// whether it has.
bool CloseInTurn(int32_t& lo, int32_t& hi, int64_t centre, int band, int32_t& lo2, int32_t& hi2, int step) {
  if (!AtBand(lo, hi, centre, band)) {
    CloseToBand(lo, hi, centre, band, step);
    return false;
  }
  return CloseEdges(lo2, hi2, step);
}

// Answers true when the closing is closed.
bool StepClosing(IntRect& c, const IntRect& s, int kind, int band, int step) {
  switch (kind) {
    case 1: Move(c.top, step); return c.top >= s.bottom;
    case 2: Move(c.bottom, -int64_t(step)); return c.bottom <= s.top;
    case 3: Move(c.left, step); return c.left >= s.right;
    case 4: Move(c.right, -int64_t(step)); return c.right <= s.left;
    case 5: return CloseEdges(c.top, c.bottom, step);
    case 6: return CloseEdges(c.left, c.right, step);
    case 7: {
      const bool across = CloseToCentre(c.left, c.right, CentreX(s), step);
      const bool down = CloseToCentre(c.top, c.bottom, CentreY(s), step);
      return across && down;
    }
    case 8: return CloseInTurn(c.left, c.right, CentreX(s), band, c.top, c.bottom, step);
    case 9: return CloseInTurn(c.top, c.bottom, CentreY(s), band, c.left, c.right, step);
    default: return true;  // never started; ends rather than running for ever
  }
}

}  // namespace

int WipeStep(float frameDelta, float speed) {
  const float moved = frameDelta * speed;
  if (!(moved > 0)) return 1;  // also NaN
  // Far beyond any screen: a wipe that fast ends in its first step anyway.
  const float limit = float(1 << 30);
  return moved >= limit ? (1 << 30) : int(moved) + 1;
}

int StartWipeOn(const WipeTarget& w, int closing, int kind, float speed, int band,
                int (*random)()) {
  if (w.state > 0 || kind < 0 || kind > MaxWipeKind) return 0;
  if (w.state == -1) w.clip = w.saved;
  w.saved = w.clip;
  if (kind == 0) kind = random() % 9 + 1;
  w.settings = WipeSettings{closing, kind, speed, band};
  if (closing) {
    w.state = 2;
    return 1;
  }
  w.state = 1;
  w.clip = OpeningStart(w.saved, kind, band);
  return 1;
}

int StepWipeOn(const WipeTarget& w, int step) {
  if (w.state <= 0) return 0;
  step = std::max(step, 1);
  const WipeSettings& s = w.settings;
  if (!s.closing) {
    if (StepOpening(w.clip, w.saved, s.kind, step)) {
      w.clip = w.saved;
      w.state = 0;
    }
  } else if (StepClosing(w.clip, w.saved, s.kind, s.band, step)) {
    w.state = -1;
  }
  return 1;
}

void CloseWipeOn(const WipeTarget& w) {
  // Closed already: the rectangle to restore stays; saving the collapsed
  // one would lose it for good.
  if (w.state != -1) w.saved = w.clip;
  w.clip.right = w.clip.left;
  w.clip.bottom = w.clip.top;
  w.state = -1;
}

void CancelWipeOn(const WipeTarget& w) {
  if (w.state <= 0) return;
  w.clip = w.saved;
  w.state = 0;
}

}  // namespace zo
