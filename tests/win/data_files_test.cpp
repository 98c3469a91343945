// The redirection file in the Windows directory, number files in and out of
// a redirected folder, the debug log, the environment queries and the
// colour-depth check's boxes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "system/data_file_rules.h"
#include "system/file_replace_win.h"
#include "zo_test.h"

namespace {

std::string WindowsFile(const char* name) {
  char dir[MAX_PATH];
  GetWindowsDirectoryA(dir, sizeof dir);
  return std::string(dir) + "\\" + name;
}

void WriteText(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

std::string ReadBytes(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "<missing>";
  std::string s;
  char buf[256];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  std::fclose(f);
  return s;
}

const char* const FolderFile = "zo_datafolder.txt";

struct DataFilesTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    zotest::ClearBoxes();
    dataFolder[0] = '\0';
  }
  void TearDown() override {
    dataFolder[0] = '\0';
    DeleteFileA(WindowsFile(FolderFile).c_str());
  }
  // dataFolder from a redirection file holding text.
  static char* LoadFrom(const std::string& text) {
    WriteText(WindowsFile(FolderFile), text);
    return zoSystem::LoadDataFolder(FolderFile);
  }
};

}  // namespace

TEST_F(DataFilesTest, TheRedirectionLineLosesItsLineEndAndOneBackslash) {
  struct Case {
    const char* text;
    const char* folder;
  } cases[] = {{"D:\\Data\\\n", "D:\\Data"},        {"D:\\Data\\\r\n", "D:\\Data"},
               {"D:\\Data\\\\\n", "D:\\Data\\"},    {"D:\\Data", "D:\\Data"},
               {"D:\\Data\nE:\\Other\n", "D:\\Data"}, {"", ""},
               {"\nD:\\Data\n", ""}};
  for (const Case& c : cases) {
    std::strcpy(dataFolder, "stale");
    char* folder = LoadFrom(c.text);
    ASSERT_EQ(folder, dataFolder) << "from \"" << c.text << "\"";
    EXPECT_STREQ(dataFolder, c.folder) << "from \"" << c.text << "\"";
  }
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(DataFilesTest, AMissingOrOverlongRedirectionIsRefused) {
  std::strcpy(dataFolder, "stale");
  EXPECT_EQ(zoSystem::LoadDataFolder("zo_no_such_file.txt"), nullptr);
  EXPECT_STREQ(dataFolder, "");

  // Longer than the 255 characters dataFolder holds.
  std::strcpy(dataFolder, "stale");
  EXPECT_EQ(LoadFrom("C:\\" + std::string(290, 'a') + "\n"), nullptr);
  EXPECT_STREQ(dataFolder, "");

  // Fits dataFolder, but with the executable's folder name it would leave
  // no room for a file name in a 260-byte path.
  std::string folder = "C:\\" + std::string(252, 'b');  // 255 characters
  EXPECT_EQ(LoadFrom(folder + "\n"), nullptr);
  EXPECT_STREQ(dataFolder, "");
  folder = "C:\\" + std::string(230, 'c');
  EXPECT_EQ(LoadFrom(folder + "\n"), dataFolder);
  EXPECT_EQ(std::string(dataFolder), folder);

  std::strcpy(dataFolder, "stale");
  EXPECT_EQ(zoSystem::LoadDataFolder(std::string(300, 'n').c_str()), nullptr);
  EXPECT_STREQ(dataFolder, "");
}

TEST_F(DataFilesTest, NumbersInAndOutOfARedirectedFolder) {
  // Beside the executable first.
  std::string local = std::string(MakeFullPath(0)) + "zo_number.txt";
  zoSystem::SaveNumber("zo_number.txt", -1234);
  EXPECT_EQ(ReadBytes(local), "-1234");
  EXPECT_EQ(zoSystem::LoadNumber("zo_number.txt"), -1234);

  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string root = std::string(temp) + "zo data";
  CreateDirectoryA(root.c_str(), nullptr);
  ASSERT_EQ(LoadFrom(root + "\\\n"), dataFolder);
  std::string folder = MakeFullPath(1);
  ASSERT_EQ(folder.rfind(root + "\\", 0), 0u) << folder;
  CreateDirectoryA(folder.c_str(), nullptr);
  zoSystem::SaveNumber("zo_number.txt", 77);
  EXPECT_EQ(ReadBytes(folder + "zo_number.txt"), "77");
  EXPECT_EQ(ReadBytes(local), "-1234");  // the executable's folder is left alone
  EXPECT_EQ(zoSystem::LoadNumber("zo_number.txt"), 77);

  EXPECT_EQ(zoSystem::LoadNumber("zo_missing_number.txt"), 0);
  WriteText(folder + "zo_words.txt", "many");
  EXPECT_EQ(zoSystem::LoadNumber("zo_words.txt"), 0);
  WriteText(folder + "zo_spaced.txt", "  42 and more");
  EXPECT_EQ(zoSystem::LoadNumber("zo_spaced.txt"), 42);

  // A name too long for the path buffer touches no file.
  std::string longName(300, 'q');
  zoSystem::SaveNumber(longName.c_str(), 5);
  EXPECT_EQ(zoSystem::LoadNumber(longName.c_str()), 0);
  // A folder that does not exist: nothing is written, nothing read.
  std::strcpy(dataFolder, (root + "\\absent").c_str());
  zoSystem::SaveNumber("zo_number.txt", 9);
  EXPECT_EQ(zoSystem::LoadNumber("zo_number.txt"), 0);
}

TEST_F(DataFilesTest, AFailedWriteKeepsThePreviousNumber) {
  std::string path = std::string(MakeFullPath(1)) + "zo_kept.txt";
  zoSystem::SaveNumber("zo_kept.txt", 5);
  ASSERT_EQ(ReadBytes(path), "5");
  zo::replacingFileWriteBudget = 1;  // the disk fills after one byte
  zoSystem::SaveNumber("zo_kept.txt", 77);
  zo::replacingFileWriteBudget = UINT64_MAX;
  EXPECT_EQ(ReadBytes(path), "5");
  EXPECT_EQ(zotest::CountFiles(std::string(MakeFullPath(1)) + "zo*.tmp"), 0);
  zoSystem::SaveNumber("zo_kept.txt", 77);
  EXPECT_EQ(ReadBytes(path), "77");
}

TEST_F(DataFilesTest, TheDebugLogAppendsOneLinePerCall) {
  DeleteFileA("DEBUG.TXT");
  zoSystem::DebugLog("score %d of %s", 10, "ten");
  EXPECT_EQ(ReadBytes("DEBUG.TXT"), "score 10 of ten\r\n");
  zoSystem::DebugLog("日本語 %05.1f", 2.5);
  EXPECT_EQ(ReadBytes("DEBUG.TXT"), "score 10 of ten\r\n日本語 002.5\r\n");
  DeleteFileA("DEBUG.TXT");
}

TEST_F(DataFilesTest, EnvironmentQueries) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  int year = 0, month = 0, day = 0;
  char name[3] = "xx";
  EXPECT_EQ(zoSystem::GetDate(&year, &month, &day, name), name);
  EXPECT_EQ(year, before.wYear);
  EXPECT_EQ(month, before.wMonth);
  EXPECT_EQ(day, before.wDay);
  EXPECT_STREQ(name, zo::DayName(before.wDayOfWeek));
  EXPECT_EQ(std::strlen(name), 2u);

  int hour = -1, minute = -1, second = -1;
  zoSystem::GetTime(&hour, &minute, &second);
  EXPECT_TRUE(hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60);
  EXPECT_TRUE(hour == before.wHour || minute != before.wMinute || second < before.wSecond);

  EXPECT_GT(zoSystem::DiskFree('C'), 0u);
  EXPECT_EQ(zoSystem::DiskFree('c') == 0, false);
  EXPECT_EQ(zoSystem::DiskFree('1'), 0u);  // no such drive: 0, not stack garbage

  MEMORYSTATUS status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  EXPECT_GT(zoSystem::AvailableMemory(), 0u);
  EXPECT_EQ(sizeof status, sizeof(void*) == 4 ? 32u : 56u);  // pointer-sized fields on 64 bits

  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(sizeof info, 148u);
  EXPECT_EQ(zoSystem::OsVersion(),
            zo::VersionNumber(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion));
  EXPECT_GE(zoSystem::OsVersion(), 2000);
}

namespace {

struct ColorDepthTest : DataFilesTest {
  void SetUp() override {
    DataFilesTest::SetUp();
    ASSERT_NE(zotest::MakeMainWindow(), nullptr);
    savedDepth = displayDepth;
    fullScreen = 0;
    shutdownDone = 0;
    closeState = 0;
    ASSERT_EQ(zoDraw::GetDisplayDepth(), 16);  // the test bed's desktop
  }
  void TearDown() override {
    displayDepth = savedDepth;
    fullScreen = 0;
    zotest::boxAnswer = IDOK;
    zotest::DestroyMainWindow();
    shutdownDone = 0;
    closeState = 0;
    DataFilesTest::TearDown();
  }
  int savedDepth = 16;
};

const std::string DepthMessage =
    "　ウィンドウ状態で実行しようとしていますが、画面が65536色以下に設定されています。\n"
    "正しく動作させるには、1670万色以上に設定するか、フルスクリーンで実行させて下さい。\r\n";

}  // namespace

TEST_F(ColorDepthTest, EnoughColoursOrFullScreenAskNothing) {
  for (int depth : {16, 8, 15, 0}) {
    displayDepth = depth;
    EXPECT_EQ(zoSystem::CheckColorDepth(""), 1) << depth;
  }
  displayDepth = 32;
  fullScreen = 1;
  EXPECT_EQ(zoSystem::CheckColorDepth(""), 1);
  EXPECT_TRUE(zotest::boxes.empty());
  EXPECT_EQ(shutdownDone, 0);
}

TEST_F(ColorDepthTest, WithoutAQuestionTheMessageEndsTheProgram) {
  displayDepth = 24;
  EXPECT_EQ(zoSystem::CheckColorDepth(""), 0);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, DepthMessage);
  EXPECT_EQ(zotest::boxes[0].title, "メッセージ");
  EXPECT_EQ(shutdownDone, 1);
  EXPECT_EQ(fullScreen, 0);
}

TEST_F(ColorDepthTest, YesSwitchesToFullScreenAndRemembersTheChoice) {
  displayDepth = 32;
  zotest::boxAnswer = IDYES;
  EXPECT_EQ(zoSystem::CheckColorDepth("*"), 1);
  ASSERT_EQ(zotest::boxes.size(), 2u);
  EXPECT_EQ(zotest::boxes[0].text, DepthMessage);
  EXPECT_EQ(zotest::boxes[1].text, "フルスクリーンに切り換えますか？\r\n");
  EXPECT_EQ(zotest::boxes[1].style, 0x24u);
  EXPECT_EQ(fullScreen, 1);
  EXPECT_EQ(shutdownDone, 0);

  fullScreen = 0;
  zotest::ClearBoxes();
  std::string flag = std::string(MakeFullPath(1)) + "zo_fullscreen.txt";
  DeleteFileA(flag.c_str());
  EXPECT_EQ(zoSystem::CheckColorDepth("zo_fullscreen.txt"), 1);
  ASSERT_EQ(zotest::boxes.size(), 2u);
  EXPECT_EQ(zotest::boxes[1].text, "フルスクリーンに設定し直しますか？\r\n");
  EXPECT_EQ(fullScreen, 1);
  EXPECT_EQ(zoSystem::LoadNumber("zo_fullscreen.txt"), 1);
  DeleteFileA(flag.c_str());
}

TEST_F(ColorDepthTest, NoEndsTheProgramAndSavesNothing) {
  displayDepth = 32;
  zotest::boxAnswer = IDNO;
  std::string flag = std::string(MakeFullPath(1)) + "zo_fullscreen.txt";
  DeleteFileA(flag.c_str());
  EXPECT_EQ(zoSystem::CheckColorDepth("zo_fullscreen.txt"), 0);
  EXPECT_EQ(zotest::boxes.size(), 2u);
  EXPECT_EQ(shutdownDone, 1);
  EXPECT_EQ(fullScreen, 0);
  EXPECT_EQ(GetFileAttributesA(flag.c_str()), INVALID_FILE_ATTRIBUTES);
}
