// MIDI playback through the real MCI sequencer, on the test bed's silent
// MIDI port: ends of sequences reach the window procedure, loops restart,
// closing and failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "zo_test.h"

namespace {

// A format 1 file of two tracks (tempo, then one note) lasting 600 ms.
std::vector<unsigned char> TuneFile() {
  auto be32 = [](std::vector<unsigned char>& v, unsigned n) {
    for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<unsigned char>(n >> s));
  };
  auto chunk = [&](std::vector<unsigned char>& file, const char* id, const std::vector<unsigned char>& body) {
    file.insert(file.end(), id, id + 4);
    be32(file, static_cast<unsigned>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
  };
  std::vector<unsigned char> file;
  chunk(file, "MThd", {0, 1, 0, 2, 0x01, 0xE0});  // 480 ticks per quarter note
  chunk(file, "MTrk", {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // 500000 us per quarter
                       0x00, 0xFF, 0x2F, 0x00});
  chunk(file, "MTrk", {0x00, 0xC0, 0x00, 0x00, 0x90, 0x3C, 0x64,
                       0x84, 0x40, 0x80, 0x3C, 0x00,  // 576 ticks later
                       0x00, 0xFF, 0x2F, 0x00});
  return file;
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string Mode() {
  char reply[64] = "";
  MCIERROR e = mciSendStringA("status midi mode", reply, sizeof reply, nullptr);
  return e ? "error " + std::to_string(e) : std::string(reply);
}

std::string OpenFile() {
  char reply[260] = "";
  mciSendStringA("info midi file", reply, sizeof reply, nullptr);
  return reply;
}

// Pumps messages until done() holds; answers the milliseconds it took, or -1.
int WaitUntil(const std::function<bool()>& done, int ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) > ms) return -1;
    zotest::PumpMessages(5);
  }
  return static_cast<int>(GetTickCount() - start);
}

struct MusicTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    ASSERT_NE(zotest::MakeMainWindow(), nullptr);
    zoMusic::Init();
    std::string folder = MakeFullPath(0);
    WriteFile(folder + "zo_tune.mid", TuneFile());
    WriteFile(folder + "zo_other.mid", TuneFile());
    CreateDirectoryA((folder + "music dir").c_str(), nullptr);
    WriteFile(folder + "music dir\\a tune.mid", TuneFile());
  }
  void TearDown() override {
    zoMusic::ForceClose();
    zoMusic::Init();
    zotest::DestroyMainWindow();
  }
};

}  // namespace

TEST_F(MusicTest, TheTestBedHasAMidiPort) { EXPECT_GE(midiOutGetNumDevs(), 1u); }

TEST_F(MusicTest, InitSetsTheFlags) {
  midiOpen = midiFinished = 1;
  midiLoop = 0;
  EXPECT_EQ(zoMusic::Init(), 1);
  EXPECT_EQ(midiOpen, 0);
  EXPECT_EQ(midiFinished, 0);
  EXPECT_EQ(midiLoop, 1);
}

TEST_F(MusicTest, ALoopRestartsAtTheEndUntilLoopingStops) {
  ASSERT_EQ(zoMusic::Play("zo_tune.mid", 1), 0u);
  EXPECT_EQ(midiOpen, 1);
  EXPECT_EQ(midiFinished, 0);
  EXPECT_EQ(Mode(), "playing");
  int first = WaitUntil([] { return midiFinished == 1; }, 4000);
  ASSERT_GE(first, 450) << "the end came " << first << " ms after play";
  // Restarted at once: still open and playing.
  EXPECT_EQ(midiOpen, 1);
  EXPECT_EQ(Mode(), "playing");

  midiFinished = 0;
  int second = WaitUntil([] { return midiFinished == 1; }, 4000);
  EXPECT_GE(second, 450);
  zoMusic::StopLooping();
  EXPECT_EQ(midiLoop, 0);
  EXPECT_EQ(midiOpen, 1);
  int last = WaitUntil([] { return midiOpen == 0; }, 4000);
  EXPECT_GE(last, 0) << "the last pass did not close";
  EXPECT_EQ(Mode().rfind("error ", 0), 0u) << Mode();  // closed
}

TEST_F(MusicTest, WithoutLoopItPlaysOnceAndCloses) {
  ASSERT_EQ(zoMusic::Play("zo_tune.mid", 0), 0u);
  EXPECT_EQ(midiLoop, 0);
  EXPECT_GE(WaitUntil([] { return midiOpen == 0; }, 4000), 450);
  EXPECT_EQ(midiFinished, 1);
  EXPECT_NE(Mode(), "playing");
}

TEST_F(MusicTest, ASecondPlayClosesTheFirst) {
  ASSERT_EQ(zoMusic::Play("zo_tune.mid", 1), 0u);
  EXPECT_NE(OpenFile().find("zo_tune.mid"), std::string::npos) << OpenFile();
  ASSERT_EQ(zoMusic::Play("zo_other.mid", 0), 0u);
  EXPECT_NE(OpenFile().find("zo_other.mid"), std::string::npos) << OpenFile();
  // The first one's aborted notification changes nothing; the second ends once.
  EXPECT_GE(WaitUntil([] { return midiOpen == 0; }, 4000), 0);
  EXPECT_EQ(midiFinished, 1);
}

TEST_F(MusicTest, APathWithASpacePlays) {
  ASSERT_EQ(zoMusic::Play("music dir\\a tune.mid", 0), 0u);
  EXPECT_EQ(Mode(), "playing");
  EXPECT_GE(WaitUntil([] { return midiFinished == 1; }, 4000), 450);
}

TEST_F(MusicTest, AMissingFileAnswersTheErrorYetCountsAsOpen) {
  EXPECT_NE(zoMusic::Play("no such tune.mid", 1), 0u);
  EXPECT_EQ(midiOpen, 1);
  EXPECT_EQ(midiFinished, 0);
  zoMusic::Stop();  // rejected by MCI, harmlessly
  EXPECT_EQ(midiOpen, 0);
  EXPECT_NE(zoMusic::ForceClose(), 0u);
}

// A name MCI could misread is refused and the looping tune plays on.
void ExpectRefusedWhilePlaying(const std::string& name) {
  ASSERT_EQ(zoMusic::Play("zo_tune.mid", 1), 0u);
  EXPECT_EQ(zoMusic::Play(name.c_str(), 0), static_cast<MCIERROR>(MCIERR_PARAM_OVERFLOW));
  EXPECT_EQ(midiOpen, 1);
  EXPECT_EQ(midiLoop, 1);
  EXPECT_EQ(Mode(), "playing");
  EXPECT_NE(OpenFile().find("zo_tune.mid"), std::string::npos);
}

TEST_F(MusicTest, AnOverlongPathIsNotSentAndLeavesThePlayingSequence) {
  ExpectRefusedWhilePlaying(std::string(300, 'n'));
}

TEST_F(MusicTest, ANameWithADoubleQuoteIsNotSentAndLeavesThePlayingSequence) {
  ExpectRefusedWhilePlaying("zo_tune.mid\" notify");
}

TEST_F(MusicTest, OnlyASuccessfulEndOfAStoppedOpenSequenceCounts) {
  ASSERT_EQ(zoMusic::Play("zo_tune.mid", 0), 0u);
  // Still playing: a successful notice is checked against the mode and ignored.
  SendMessageA(mainWindow, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
  EXPECT_EQ(midiFinished, 0);
  // Stopping aborts the pending notice.
  ASSERT_EQ(mciSendStringA("stop midi", nullptr, 0, nullptr), 0u);
  zotest::PumpMessages(100);
  EXPECT_EQ(midiFinished, 0);
  EXPECT_EQ(midiOpen, 1);
  SendMessageA(mainWindow, MM_MCINOTIFY, MCI_NOTIFY_ABORTED, 0);
  SendMessageA(mainWindow, MM_MCINOTIFY, MCI_NOTIFY_SUPERSEDED, 0);
  SendMessageA(mainWindow, MM_MCINOTIFY, MCI_NOTIFY_FAILURE, 0);
  EXPECT_EQ(midiFinished, 0);
  EXPECT_EQ(midiOpen, 1);
  SendMessageA(mainWindow, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
  EXPECT_EQ(midiFinished, 1);
  EXPECT_EQ(midiOpen, 0);
  // Nothing open: a late notice is ignored.
  midiFinished = 0;
  SendMessageA(mainWindow, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
  EXPECT_EQ(midiFinished, 0);
}

TEST_F(MusicTest, ForceCloseClosesWithoutTouchingTheFlag) {
  ASSERT_EQ(zoMusic::Play("zo_tune.mid", 1), 0u);
  EXPECT_EQ(zoMusic::ForceClose(), 0u);
  EXPECT_EQ(midiOpen, 1);
  EXPECT_EQ(Mode().rfind("error ", 0), 0u) << Mode();  // closed
  EXPECT_NE(zoMusic::ForceClose(), 0u);  // nothing left to close
}
