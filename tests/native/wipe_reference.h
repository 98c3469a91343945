// The wipes as the rules read them, stepped literally on 64-bit edges, for
// rectangles, steps and bands small enough never to overflow.
#pragma once

#include <cstdint>

namespace ref {

struct Rect {
  long long l, t, r, b;
  bool operator==(const Rect& o) const { return l == o.l && t == o.t && r == o.r && b == o.b; }
};

struct WipeSim {
  Rect clip{}, saved{};
  int state = 0;  // -1 closed, 0 idle, 1 opening, 2 closing
  int closing = 0, kind = 0;
  long long band = 0;

  long long cx() const { return saved.l + (saved.r - saved.l) / 2; }
  long long cy() const { return saved.t + (saved.b - saved.t) / 2; }

  int Start(int isClosing, int k, long long bandWidth) {
    if (state > 0) return 0;
    if (state == -1) clip = saved;
    saved = clip;
    closing = isClosing;
    kind = k;
    band = bandWidth;
    if (closing) {
      state = 2;
      return 1;
    }
    state = 1;
    const Rect s = saved;
    if (kind == 1) clip.t = s.b;
    if (kind == 2) clip.b = s.t;
    if (kind == 3) clip.l = s.r;
    if (kind == 4) clip.r = s.l;
    if (kind == 5) clip.t = clip.b = cy();
    if (kind == 6) clip.l = clip.r = cx();
    if (kind == 7) { clip.l = clip.r = cx(); clip.t = clip.b = cy(); }
    if (kind == 8) { clip.l = cx() - band / 2; clip.r = cx() + band / 2; clip.t = clip.b = cy(); }
    if (kind == 9) { clip.l = clip.r = cx(); clip.t = cy() - band / 2; clip.b = cy() + band / 2; }
    return 1;
  }

  int Step(long long s) {
    if (state <= 0) return 0;
    Rect& c = clip;
    const Rect& S = saved;
    if (!closing) {
      bool done = false;
      if (kind == 1) { c.t -= s; done = c.t <= S.t; }
      if (kind == 2) { c.b += s; done = c.b >= S.b; }
      if (kind == 3) { c.l -= s; done = c.l <= S.l; }
      if (kind == 4) { c.r += s; done = c.r >= S.r; }
      if (kind == 5) { c.t -= s; c.b += s; done = c.t <= S.t || c.b >= S.b; }
      if (kind == 6) { c.l -= s; c.r += s; done = c.l <= S.l || c.r >= S.r; }
      // One axis widened by s on both sides; reaching either saved edge
      // opens it whole.
      auto widen = [s](long long& lo, long long& hi, long long savedLo, long long savedHi) {
        lo -= s; hi += s;
        if (lo <= savedLo || hi >= savedHi) { lo = savedLo; hi = savedHi; }
      };
      const bool rowsOpen = c.t == S.t && c.b == S.b, columnsOpen = c.l == S.l && c.r == S.r;
      if (kind == 7 || (kind == 8 && rowsOpen) || (kind == 9 && !columnsOpen)) widen(c.l, c.r, S.l, S.r);
      if (kind == 7 || (kind == 8 && !rowsOpen) || (kind == 9 && columnsOpen)) widen(c.t, c.b, S.t, S.b);
      if (kind >= 7) done = c == S;
      if (done) { clip = saved; state = 0; }
      return 1;
    }
    bool closed = false;
    if (kind == 1) { c.t += s; closed = c.t >= S.b; }
    if (kind == 2) { c.b -= s; closed = c.b <= S.t; }
    if (kind == 3) { c.l += s; closed = c.l >= S.r; }
    if (kind == 4) { c.r -= s; closed = c.r <= S.l; }
    if (kind == 5) { c.t += s; c.b -= s; closed = c.t >= c.b; }
    if (kind == 6) { c.l += s; c.r -= s; closed = c.l >= c.r; }
    if (kind == 7) {
      c.l += s; c.r -= s; c.t += s; c.b -= s;
      if (c.l >= c.r) c.l = c.r = cx();
      if (c.t >= c.b) c.t = c.b = cy();
      closed = c.l == cx() && c.r == cx() && c.t == cy() && c.b == cy();
    }
    // The band's axis closes in to the band first, then the other axis
    // closes until its edges meet.
    auto toBand = [&](long long& lo, long long& hi, long long bandLo, long long bandHi, long long& lo2,
                      long long& hi2) {
      if (lo != bandLo && hi != bandHi) {
        lo += s; hi -= s;
        if (lo >= bandLo || hi <= bandHi) { lo = bandLo; hi = bandHi; }
      } else {
        lo2 += s; hi2 -= s;
        closed = lo2 >= hi2;
      }
    };
    if (kind == 8) toBand(c.l, c.r, cx() - band / 2, cx() + band / 2, c.t, c.b);
    if (kind == 9) toBand(c.t, c.b, cy() - band / 2, cy() + band / 2, c.l, c.r);
    if (closed) state = -1;
    return 1;
  }
};

}  // namespace ref
