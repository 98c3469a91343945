// The demo end to end, started as a user starts it: the background, the
// block field where the drift predicts it, the magenta square at the mouse,
// an empty field after nine seconds, and Escape ending it with code 0.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "draw_support.h"
#include "window_capture.h"
#include "zo_test.h"

namespace {

using Shot = zotest::Pixels;

Shot Capture(HWND window, int w, int h) { return zotest::CaptureClient(window, w, h); }

// Column u of tile t of the block bitmap, as 5-6-5.
std::vector<uint16_t> TileColumn(int t, int u) {
  HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(nullptr, "bmp\\block.bmp", IMAGE_BITMAP, 0, 0,
                                                LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  std::vector<uint16_t> column;
  if (!bmp) return column;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  for (int v = 0; v < 30; ++v) {
    COLORREF c = GetPixel(dc, 30 * t + u, v);
    column.push_back(static_cast<uint16_t>(((GetRValue(c) >> 3) << 11) |
                                           ((GetGValue(c) >> 2) << 5) | (GetBValue(c) >> 3)));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bmp);
  return column;
}

bool Near(uint16_t a, uint16_t b) {
  auto d = [](int x, int y) { return x > y ? x - y : y - x; };
  return d(a >> 11, b >> 11) <= 1 && d((a >> 5) & 63, (b >> 5) & 63) <= 2 && d(a & 31, b & 31) <= 1;
}

// Top rows y (inside the shot) where the tile column sits at screen column x.
std::vector<int> FindColumn(const Shot& s, int x, const std::vector<uint16_t>& column) {
  std::vector<int> found;
  for (int y = -29; y < s.height; ++y) {
    int checked = 0, matched = 0;
    for (int v = 3; v < 27; ++v) {
      if (y + v < 0 || y + v >= s.height) continue;
      ++checked;
      matched += Near(s.at(x, y + v), column[v]);
    }
    if (checked >= 8 && matched == checked) found.push_back(y);
  }
  return found;
}

}  // namespace

TEST(Demo, RunsEndToEnd) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  char cmd[] = "Tessaro.exe";
  ASSERT_TRUE(CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  HWND window = nullptr;
  for (int i = 0; i < 500 && !window; ++i) {
    window = FindWindowA("DEFAULT", "Tessaro");
    if (!window) Sleep(20);
  }
  ASSERT_NE(window, nullptr);
  DWORD shown = GetTickCount();
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  SetCursorPos(origin.x + 50, origin.y + 400);

  std::vector<uint16_t> gold = TileColumn(2, 15), blue = TileColumn(0, 15);
  ASSERT_EQ(gold.size(), 30u);

  Sleep(1000);
  DWORD before = GetTickCount();
  Shot s = Capture(window, 640, 480);
  DWORD after = GetTickCount();

  // The top-left cell shows tile 2 at x 200; its drift is 48 pixels a second.
  std::vector<int> tops = FindColumn(s, 215, gold);
  ASSERT_EQ(tops.size(), 1u);
  int drift = tops[0] - 120;
  EXPECT_GE(drift, static_cast<int>(48 * (before - shown) / 1000) - 40);
  EXPECT_LE(drift, static_cast<int>(48 * (after - shown) / 1000) + 1);
  // The other cells of the field: columns 30 pixels apart, rows 30 apart (a pixel for timing).
  for (int c = 1; c < 8; ++c) {
    std::vector<int> rows = FindColumn(s, 215 + 30 * c, blue);
    ASSERT_FALSE(rows.empty()) << "column " << c;
    bool aligned = false;
    for (int y : rows) {
      int off = (y - tops[0]) % 30;
      if (off <= 1 || off >= 29) aligned = true;
    }
    EXPECT_TRUE(aligned) << "column " << c;
  }
  EXPECT_TRUE(FindColumn(s, 185, blue).empty());  // nothing left of the field
  // The magenta square with its black outline at the mouse.
  EXPECT_EQ(s.at(60, 410), 0xF81F);
  EXPECT_EQ(s.at(78, 428), 0xF81F);
  EXPECT_EQ(s.at(50, 410), 0);
  EXPECT_EQ(s.at(79, 428), 0);
  // The background is there: not black, not a block.
  EXPECT_NE(s.at(20, 20), 0);
  EXPECT_NE(s.at(600, 300), 0);

  // After about nine seconds every block has left the screen.
  while (GetTickCount() - shown < 9500) Sleep(50);
  Shot late = Capture(window, 640, 480);
  for (int c = 0; c < 8; ++c) {
    EXPECT_TRUE(FindColumn(late, 215 + 30 * c, blue).empty()) << "column " << c;
    EXPECT_TRUE(FindColumn(late, 215 + 30 * c, gold).empty()) << "column " << c;
  }

  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}
