// Errors, message boxes, paths, waits and the frame timer, on Windows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zo_test.h"

#include <mmsystem.h>

namespace {

struct SystemTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    zotest::ClearBoxes();
    errorFlag = 0;
  }
};

}  // namespace

TEST_F(SystemTest, ShowErrorJoinsPlaceAndMessageUnderTheErrorTitle) {
  EXPECT_EQ(ShowError("zoSystem::SetWait", "ウェイトNoが範囲外です"), 0);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, "zoSystem::SetWait : ウェイトNoが範囲外です");
  EXPECT_EQ(zotest::boxes[0].title, "エラー発生");
  EXPECT_EQ(zotest::boxes[0].style, 0x1030u);
  EXPECT_EQ(errorFlag, 1);
  EXPECT_EQ(zoSystem::GetError(), 1);
  // Shift-JIS, not UTF-8, reaches Windows.
  EXPECT_EQ(std::string("エラー発生").size(), 10u);
}

TEST_F(SystemTest, OverlongErrorTextIsCutNotOverflowed) {
  std::string place(400, 'p'), message(400, 'm');
  ShowError(place.c_str(), message.c_str());
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text.size(), 259u);
  EXPECT_EQ(zotest::boxes[0].text, place.substr(0, 259));
}

TEST_F(SystemTest, MessageAndConfirmBoxes) {
  cursorShown = 1;
  zoSystem::Message("点数 %d", 42);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, "点数 42\r\n");
  EXPECT_EQ(zotest::boxes[0].title, "メッセージ");
  EXPECT_EQ(zotest::boxes[0].style, 0x1030u);
  EXPECT_EQ(messageBoxOpen, 0);
  EXPECT_EQ(errorFlag, 0);

  zotest::boxAnswer = IDYES;
  EXPECT_EQ(zoSystem::Confirm("%s?", "続ける"), 1);
  EXPECT_EQ(zotest::boxes[1].style, 0x24u);
  EXPECT_EQ(zotest::boxes[1].title, "メッセージ");
  zotest::boxAnswer = IDNO;
  EXPECT_EQ(zoSystem::Confirm("again"), 0);
  zotest::boxAnswer = IDOK;

  std::string longText(600, 'x');
  zoSystem::Message("%s", longText.c_str());
  const std::string& shown = zotest::boxes.back().text;
  EXPECT_LT(shown.size(), 260u);
  EXPECT_EQ(shown.substr(shown.size() - 2), "\r\n");
}

TEST_F(SystemTest, MessageBoxResetsTheFrameTimer) {
  frameDelta = 5.0f;
  lastFrameTime = timeGetTime() - 10000;
  zoSystem::Message("x");
  EXPECT_EQ(frameDelta, 0.0f);
  zoSystem::UpdateFrameTimer();
  EXPECT_LT(frameDelta, 0.5f);
}

TEST_F(SystemTest, WaitSlotRangeErrors) {
  EXPECT_EQ(zoSystem::SetWait(0, 100), 0);
  EXPECT_EQ(zotest::boxes.back().text, "zoSystem::SetWait : ウェイトNoが範囲外です");
  EXPECT_EQ(zoSystem::SetWait(11, 100), 0);
  EXPECT_EQ(zoSystem::InitWait(0), 0);
  EXPECT_EQ(zotest::boxes.back().text, "zoSystem::InitWait : ウェイトNoが範囲外です");
  EXPECT_EQ(zoSystem::InitWait(11), 0);
  EXPECT_EQ(zotest::boxes.size(), 4u);
  EXPECT_EQ(zoSystem::SetWait(1, 100), 1);
  EXPECT_EQ(zoSystem::SetWait(10, 100), 1);
  EXPECT_EQ(zotest::boxes.size(), 4u);
}

TEST_F(SystemTest, WaitSlotStates) {
  zoSystem::ResetState();
  for (int slot = 1; slot <= 10; ++slot) EXPECT_EQ(waitTable[slot - 1], WaitNever);
  EXPECT_EQ(zoSystem::IsWaitOver(3), 0);  // initialised, never over
  zoSystem::SetWait(3, 0);
  EXPECT_EQ(zoSystem::IsWaitOver(3), 1);
  zoSystem::SetWait(4, 60000);
  EXPECT_EQ(zoSystem::IsWaitOver(4), 0);
  zoSystem::SetWait(5, 30);
  EXPECT_EQ(zoSystem::IsWaitOver(5), 0);
  Sleep(60);
  EXPECT_EQ(zoSystem::IsWaitOver(5), 1);
  // A deadline that wraps past 2^32 is over at once.
  zoSystem::SetWait(6, static_cast<int>(0xFFFFFFFFu - timeGetTime() + 100));
  EXPECT_EQ(zoSystem::IsWaitOver(6), 1);
}

TEST_F(SystemTest, WaitSpinsAtLeastTheTimeAndResetsTheTimer) {
  DWORD start = timeGetTime();
  zoSystem::Wait(0);
  EXPECT_GE(timeGetTime() - start, 1u);
  start = timeGetTime();
  zoSystem::Wait(40);
  EXPECT_GE(timeGetTime() - start, 41u);
  EXPECT_EQ(frameDelta, 0.0f);
}

TEST_F(SystemTest, MakeFullPathIsTheExecutablesFolder) {
  char module[MAX_PATH];
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string folder(module);
  folder = folder.substr(0, folder.rfind('\\') + 1);
  dataFolder[0] = '\0';
  EXPECT_EQ(std::string(MakeFullPath(0)), folder);
  EXPECT_EQ(std::string(MakeFullPath(1)), folder);

  std::strcpy(dataFolder, "D:\\Data");
  std::string own = folder.substr(0, folder.size() - 1);
  own = own.substr(own.rfind('\\') + 1) + "\\";
  EXPECT_EQ(std::string(MakeFullPath(1)), "D:\\Data\\" + own);
  EXPECT_EQ(std::string(MakeFullPath(0)), folder);

  // A data folder of 255 characters still fits with the folder name.
  std::memset(dataFolder, 'd', 255);
  dataFolder[255] = '\0';
  std::string full = MakeFullPath(1);
  EXPECT_EQ(full, std::string(255, 'd') + "\\" + own);
  dataFolder[0] = '\0';
}
