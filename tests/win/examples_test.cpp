// The example programs, started as a user starts them: each shows its
// window, draws what its comment promises (read back from the screen at a
// few moments) and ends with code 0 on Escape.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "window_capture.h"

namespace {

using zotest::Pack565;
using zotest::Pixels;

// A started example; a test that stops half way still ends it, so the next
// one is not refused as a second copy.
struct Example {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  ~Example() {
    if (!process.hProcess) return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
};

bool Start(const std::string& exe, Example* e) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string command = exe;
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &e->process))
    return false;
  for (int i = 0; i < 500 && !e->window; ++i) {
    e->window = FindWindowA("DEFAULT", "Tessaro");
    if (!e->window) Sleep(20);
  }
  return e->window != nullptr;
}

// Pixels of value v inside (l, t) .. (r, b), right and bottom exclusive.
int Count(const Pixels& s, int l, int t, int r, int b, uint16_t v) {
  int n = 0;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) n += s.at(x, y) == v;
  return n;
}

// The first column from x = l on, in row y, that is not black; -1 if none.
int FirstLit(const Pixels& s, int l, int y) {
  for (int x = l; x < s.width; ++x)
    if (s.at(x, y) != 0) return x;
  return -1;
}

bool IsGray(uint16_t v) { return (v >> 11) == (v & 31) && ((v >> 6) & 31) == (v & 31); }

using Check = void (*)(const std::vector<Pixels>& shots);

struct Case {
  const char* name;  // the example, run as <name>.exe
  int shots;         // pictures taken, the first a second and a half after the window shows
  int apartMs;       // time between them
  Check check;
};

void MovingSprite(const std::vector<Pixels>& s) {
  const int a = FirstLit(s[0], 0, 215), b = FirstLit(s[1], 0, 215);
  ASSERT_GE(a, 0);
  EXPECT_GE(b - a, 20);  // 60 pixels a second, 800 ms apart, with room for the timing
  EXPECT_LE(b - a, 90);
  EXPECT_GT(Count(s[0], 10, 10, 100, 30, 0xFFFF), 10);  // the greeting
}

void Joystick(const std::vector<Pixels>& s) {
  // No joystick: keypad 5 lit, 1 and 9 dark, the dot in the middle of its square.
  EXPECT_EQ(s[0].at(470, 210), Pack565(255, 200, 64));
  EXPECT_EQ(s[0].at(422, 258), Pack565(40, 32, 80));
  EXPECT_EQ(s[0].at(518, 162), Pack565(40, 32, 80));
  EXPECT_EQ(s[0].at(220, 220), Pack565(255, 96, 96));
  EXPECT_EQ(s[0].at(200, 220), Pack565(20, 16, 48));
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(s[0].at(414 + 36 * i, 334), Pack565(40, 32, 80)) << "button " << i + 1;
}

void MidiMusic(const std::vector<Pixels>& s) {
  EXPECT_EQ(s[0].at(60, 60), Pack565(64, 220, 96));  // green: the sequencer plays the tune
}

void SoundPack(const std::vector<Pixels>& s) {
  const uint16_t bar = Pack565(96, 200, 255);
  const int a = Count(s[0], 41, 195, 600, 196, bar), b = Count(s[1], 41, 195, 600, 196, bar);
  EXPECT_TRUE(a > 0 || b > 0);
  EXPECT_NE(a, b);  // the ring's play cursor moves: the tune is streaming
  WIN32_FILE_ATTRIBUTE_DATA pack;
  ASSERT_TRUE(GetFileAttributesExA("sounds.pak", GetFileExInfoStandard, &pack));
  EXPECT_GT(pack.nFileSizeLow, 8u * 22050 * 2);  // the tune's eight seconds and the chime
}

void MusicStream(const std::vector<Pixels>& s) {
  const uint16_t bar = Pack565(96, 200, 255);
  const int a = Count(s[0], 41, 115, 600, 116, bar), b = Count(s[1], 41, 115, 600, 116, bar);
  EXPECT_TRUE(a > 0 || b > 0);
  EXPECT_NE(a, b);  // the ring's play cursor moves: the OGG tune is streaming
  for (const Pixels& p : s) {
    EXPECT_GT(Count(p, 0, 140, 640, 480, Pack565(255, 204, 51)), 6 * 600);  // six balls
    EXPECT_EQ(Count(p, 0, 140, 640, 480, Pack565(255, 0, 255)), 0);  // their clear corners keyed out
  }
}

void SpriteText(const std::vector<Pixels>& s) {
  std::set<int> counts;
  for (const Pixels& p : s) counts.insert(Count(p, 40, 290, 600, 470, 0xFFFF));
  EXPECT_GE(counts.size(), 3u);  // the typewriter shows more and more
  EXPECT_GT(*counts.rbegin(), 100);
  EXPECT_GT(Count(s[0], 60, 40, 300, 80, Pack565(255, 230, 160)), 50);  // the heading
}

void EffectsScene(const std::vector<Pixels>& s) {
  int changed = 0;
  for (int y = 20; y < 80; ++y)
    for (int x = 140; x < 620; ++x) changed += s[0].at(x, y) != s[1].at(x, y);
  EXPECT_GT(changed, 50);  // the blends pulse
  int gray = 0;
  for (int y = 140; y < 180; ++y)
    for (int x = 150; x < 190; ++x) gray += IsGray(s[0].at(x, y));
  EXPECT_GT(gray, 40 * 40 * 6 / 10);  // DrawGray's block, whatever the mosaic circle covers
}

void Wipes(const std::vector<Pixels>& s) {
  std::set<int> black;
  for (const Pixels& p : s) black.insert(Count(p, 0, 0, 640, 480, 0));
  EXPECT_GE(black.size(), 2u);                  // the wiped area changes
  EXPECT_GT(*black.rbegin(), 640 * 480 / 10);  // and hides a good part of the scene
}

const Case cases[] = {
    {"moving_sprite", 2, 800, MovingSprite}, {"joystick", 1, 0, Joystick},
    {"midi_music", 1, 0, MidiMusic},         {"sound_pack", 2, 700, SoundPack},
    {"sprite_text", 10, 250, SpriteText},    {"effects_scene", 2, 300, EffectsScene},
    {"wipes", 10, 300, Wipes},               {"music_stream", 2, 700, MusicStream},
};

class ExampleTest : public testing::TestWithParam<Case> {};

TEST_P(ExampleTest, ShowsItsSceneAndEndsOnEscape) {
  const Case& c = GetParam();
  if (std::string(c.name) == "sound_pack") {  // its first run makes the pack
    DeleteFileA("sounds.pak");
    DeleteFileA("sounds\\chime.wav");
    DeleteFileA("sounds\\tune.wav");
  }
  Example e;
  ASSERT_TRUE(Start(std::string(c.name) + ".exe", &e));
  Sleep(1500);
  std::vector<Pixels> shots;
  for (int i = 0; i < c.shots; ++i) {
    if (i > 0) Sleep(c.apartMs);
    shots.push_back(zotest::CaptureClient(e.window, 640, 480));
    ASSERT_EQ(shots.back().px.size(), 640u * 480u);
  }
  c.check(shots);

  PostMessageA(e.window, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_EQ(WaitForSingleObject(e.process.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(e.process.hProcess, &code);
  EXPECT_EQ(code, 0u);
}

std::string CaseName(const testing::TestParamInfo<Case>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Examples, ExampleTest, testing::ValuesIn(cases), CaseName);

// Every example the build made has its case above (the build names them).
TEST(Examples, EveryExampleIsChecked) {
  const std::string built = ZO_EXAMPLES;
  size_t from = 0;
  while (from <= built.size()) {
    size_t comma = built.find(',', from);
    if (comma == std::string::npos) comma = built.size();
    const std::string name = built.substr(from, comma - from);
    bool listed = false;
    for (const Case& c : cases) listed = listed || name == c.name;
    EXPECT_TRUE(listed) << name;
    from = comma + 1;
  }
}

}  // namespace
