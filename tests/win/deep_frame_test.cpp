// 5-6-5 frames on the test bed's 24-bit screen: deep_frame_app runs there in
// the second prefix with a frame depth and a window scale, and its log says
// what the display, the effects, the window's pixels and the mouse gave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "draw_support.h"
#include "recorder.h"
#include "zo.h"

namespace {

// The app's log for "<depth> <scale>", or what went wrong starting it; on
// the 640 x 480 screen for scale 0 (full screen), on the 1024 x 768 one
// otherwise.
std::string RunOnTheDeepScreen(int depth, int scale) {
  const char* prefix = std::getenv(scale == 0 ? "ZO_FULL_PREFIX" : "ZO_DEEP_PREFIX");
  const char* display = std::getenv(scale == 0 ? "ZO_FULL_DISPLAY" : "ZO_DEEP_DISPLAY");
  if (!prefix || !display) return "no such screen on this test bed";
  const std::string log = zotest::UnixPath(zotest::ExeFolder() + "deep_frame.log");
  const std::string windowsLog = "Z:" + log;
  DeleteFileA(windowsLog.c_str());
  const std::string command = std::string("WINEPREFIX=") + prefix + " DISPLAY=" + display + " " +
                              zotest::WineCommand() + " " +
                              zotest::UnixPath(zotest::ExeFolder() + "deep_frame_app.exe") + " " +
                              std::to_string(depth) + " " + std::to_string(scale) + " Z:" + log +
                              ".part; mv " + log + ".part " + log;
  if (!zotest::StartUnixCommand(command)) return "cannot start the app";
  for (int waited = 0; waited < 90000; waited += 100) {
    if (GetFileAttributesA(windowsLog.c_str()) != INVALID_FILE_ATTRIBUTES) {
      std::ifstream in(windowsLog, std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      std::string lines = text.str();  // written in text mode: CR LF
      lines.erase(std::remove(lines.begin(), lines.end(), '\r'), lines.end());
      return lines;
    }
    Sleep(100);
  }
  return "the app did not end";
}

class DeepFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("ZO_DEEP_DISPLAY") || !std::getenv("ZO_DEEP_PREFIX"))
      GTEST_SKIP() << "no 24-bit X screen on this test bed";
  }
  static void Expect(const std::string& log, std::initializer_list<const char*> lines) {
    for (const char* line : lines)
      EXPECT_NE(log.find(std::string(line) + "\n"), std::string::npos) << "no \"" << line << "\" in\n" << log;
  }
};

TEST_F(DeepFrameTest, FiveSixFiveFramesDrawEveryEffectAndShowEachPixelExpanded) {
  const std::string log = RunOnTheDeepScreen(16, 1);
  Expect(log, {"screen 1 desktop 32 back 16 f800 deep 1", "effects 1 1 1 1 1 1", "client 640 480 wrong 0",
               "mouse 201 101 present 640 480"});
  EXPECT_EQ(log.find("box "), std::string::npos) << log;
}

TEST_F(DeepFrameTest, ADoubledWindowShowsTwoByTwoBlocksAndReadsTheMouseInFramePixels) {
  const std::string log = RunOnTheDeepScreen(16, 2);
  // A 400 x 300 frame.
  Expect(log, {"screen 1 desktop 32 back 16 f800 deep 1", "client 800 600 wrong 0", "mouse 100 50 present 800 600"});
}

TEST_F(DeepFrameTest, FullScreenInA32BitModeShowsTheSameFrame) {
  const std::string log = RunOnTheDeepScreen(16, 0);
  Expect(log, {"screen 1 desktop 32 back 16 f800 deep 1", "effects 1 1 1 1 1 1", "client 640 480 wrong 0"});
  EXPECT_EQ(log.find("box "), std::string::npos) << log;
}

TEST_F(DeepFrameTest, WithoutAFrameDepthTheDeepScreenKeepsItsOwnFormatAndNoEffects) {
  const std::string log = RunOnTheDeepScreen(0, 1);
  Expect(log, {"screen 1 desktop 32 back 32 ff0000 deep 0", "effects 0 0 0 0 0 0", "mouse 201 101 present 640 480"});
}

}  // namespace
