// The data-folder line, paths in the Windows directory, day names, depth
// classes, the version number and the MIDI open command.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "music/mci_commands.h"
#include "system/data_file_rules.h"
#include "zo/environment_names.h"

using namespace zo;

TEST(DataFileRules, FolderLineLosesOneLineFeedAndOneBackslash) {
  struct Case {
    const char* line;
    const char* folder;
  } cases[] = {{"D:\\Data\\\n", "D:\\Data"}, {"D:\\Data\n", "D:\\Data"}, {"D:\\Data", "D:\\Data"},
               {"D:\\Data\\\\\n", "D:\\Data\\"}, {"\n", ""}, {"", ""}, {"\\", ""}, {"\n\n", "\n"}};
  for (const Case& c : cases) {
    char line[64];
    std::strcpy(line, c.line);
    TrimFolderLine(line);
    EXPECT_STREQ(line, c.folder) << "from \"" << c.line << "\"";
  }
}

TEST(DataFileRules, FolderLineIsTheFirstLineOfTheFileAndNeverCut) {
  const std::string f254(254, 'f'), f255(255, 'f');
  struct Case {
    std::string file;
    bool taken;
    std::string folder;
  } cases[] = {
      {"D:\\Data\\\nE:\\Other\n", true, "D:\\Data"},
      {"", true, ""},
      {"\n", true, ""},
      {std::string("D:\\Da\0ta\n", 9), true, "D:\\Da"},  // a 0 byte ends the line
      {f254 + "\n", true, f254},
      {f255, true, f255},               // the whole file: nothing was cut
      {f255 + "\n", true, f255},        // the line feed after a full buffer
      {f255 + "\nmore", true, f255},
      {f255 + "g", false, ""},           // one character too many
      {f254 + "\\" + "g", false, ""},
      {f254 + "\\", true, f254},        // the backslash still goes
  };
  for (const Case& c : cases) {
    char line[FolderLineCapacity];
    std::memset(line, 'x', sizeof line);
    const size_t size = std::min(c.file.size(), FolderLineCapacity);
    EXPECT_EQ(TakeFolderLine(c.file.data(), size, line), c.taken) << c.file.size() << " bytes";
    EXPECT_EQ(std::string(line), c.folder) << c.file.size() << " bytes";
  }
}

TEST(DataFileRules, NumberIsReadAsPercentDWithoutOverflow) {
  struct Case {
    std::string file;
    bool read;
    int value;
    size_t taken;  // bytes the scan asked for, the byte that ended it included
  } cases[] = {
      {"1", true, 1, 1},
      {"  \t\r\n-42x", true, -42, 9},
      {"+7 8", true, 7, 3},
      {"-", false, 0, 1},
      {"- 5", false, 0, 2},
      {"x12", false, 0, 1},
      {"", false, 0, 0},
      {"2147483647", true, 2147483647, 10},
      {"2147483648", true, 2147483647, 10},
      {"-2147483648", true, -2147483647 - 1, 11},
      {"-2147483649", true, -2147483647 - 1, 11},
      {"99999999999999999999999999", true, 2147483647, 26},
      {"00000000000000000000000012", true, 12, 26},
      {"\xA0" "5", false, 0, 1},  // only the C locale's white space
  };
  for (const Case& c : cases) {
    DecimalScan scan;
    size_t taken = 0;
    while (taken < c.file.size() && scan.Take(static_cast<unsigned char>(c.file[taken]))) ++taken;
    if (taken < c.file.size()) ++taken;
    int value = 0;
    EXPECT_EQ(scan.Value(&value), c.read) << c.file;
    EXPECT_EQ(value, c.value) << c.file;
    EXPECT_EQ(taken, c.taken) << c.file;
  }
}

TEST(DataFileRules, WindowsPathAddsABackslashExceptAtADriveRoot) {
  char path[16];
  EXPECT_TRUE(JoinWindowsPath("C:\\WINDOWS", "a.in", path, sizeof path));
  EXPECT_STREQ(path, "C:\\WINDOWS\\a.in");
  EXPECT_TRUE(JoinWindowsPath("C:\\", "a.ini", path, sizeof path));
  EXPECT_STREQ(path, "C:\\a.ini");
  // 15 characters fit 16 bytes; 16 do not, and nothing is cut.
  EXPECT_TRUE(JoinWindowsPath("C:\\WINDOWS", "abcd", path, sizeof path));
  EXPECT_FALSE(JoinWindowsPath("C:\\WINDOWS", "abcde", path, sizeof path));
  EXPECT_STREQ(path, "");
  EXPECT_TRUE(JoinPath("C:\\G\\", "n.txt", path, sizeof path));
  EXPECT_STREQ(path, "C:\\G\\n.txt");
  EXPECT_FALSE(JoinPath("C:\\Games\\", "number.txt", path, sizeof path));
  EXPECT_STREQ(path, "");
}

TEST(DataFileRules, DayNamesAreOneShiftJisCharacterAndNothingOutsideTheWeek) {
  const char* names[7] = {"日", "月", "火", "水", "木", "金", "土"};
  for (int d = 0; d < 7; ++d) {
    EXPECT_STREQ(DayName(d), names[d]);
    EXPECT_EQ(std::strlen(DayName(d)), 2u);
  }
  EXPECT_EQ(std::string(DayName(0)), "\x93\xFA");
  EXPECT_STREQ(DayName(7), "");
  EXPECT_STREQ(DayName(-1), "");
  EXPECT_STREQ(DayName(65535), "");
}

TEST(DataFileRules, DepthClassesAndTheirColourCounts) {
  struct Case {
    int bits, depthClass;
  } cases[] = {{1, 0}, {4, 0}, {8, 1}, {15, 0}, {16, 2}, {24, 3}, {32, 3}, {0, 0}};
  for (const Case& c : cases) EXPECT_EQ(DepthClass(c.bits), c.depthClass) << c.bits;
  EXPECT_STREQ(colorCountNames[0], "16");
  EXPECT_STREQ(colorCountNames[1], "256");
  EXPECT_STREQ(colorCountNames[2], "65536");
  EXPECT_STREQ(colorCountNames[3], "1670万");
  EXPECT_EQ(std::strlen(colorCountNames[3]), 6u);
}

TEST(DataFileRules, VersionNumbers) {
  struct Case {
    unsigned long platform, major, minor;
    int number;
  } cases[] = {{0, 3, 10, 310}, {1, 4, 0, 950}, {1, 4, 10, 980}, {1, 4, 90, 980}, {1, 5, 2, 502},
               {2, 4, 0, 4000}, {2, 5, 0, 2000}, {2, 5, 1, 2000}, {2, 5, 2, 2000}, {2, 6, 0, 6000},
               {2, 6, 1, 6010}, {2, 10, 0, 10000}, {3, 10, 0, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(VersionNumber(c.platform, c.major, c.minor), c.number) << c.platform << " " << c.major << "." << c.minor;
}

TEST(MciCommands, OpenCommandIsQuotedAndRefusedWhenItWouldNotFit) {
  char command[MciCommandCapacity];
  ASSERT_TRUE(ComposeOpenCommand("C:\\My Games\\", "bgm\\a b.mid", command, sizeof command));
  EXPECT_STREQ(command, "open \"C:\\My Games\\bgm\\a b.mid\" type sequencer alias midi");

  // A path that brings the command to 259 characters fits; one more does not.
  const std::string frame = "open \"\" type sequencer alias midi";
  std::string fits(MciCommandCapacity - 1 - frame.size(), 'x');
  EXPECT_TRUE(ComposeOpenCommand("", fits.c_str(), command, sizeof command));
  EXPECT_EQ(std::strlen(command), MciCommandCapacity - 1);
  std::string longer = fits + "y";
  EXPECT_FALSE(ComposeOpenCommand("", longer.c_str(), command, sizeof command));
  EXPECT_STREQ(command, "");
  EXPECT_FALSE(ComposeOpenCommand("C:\\", std::string(300, 'z').c_str(), command, sizeof command));

  // A double quote anywhere in the path is refused, not sent.
  for (const char* name : {"a\" notify.mid", "\"", "x.mid\""}) {
    std::strcpy(command, "old");
    EXPECT_FALSE(ComposeOpenCommand("C:\\", name, command, sizeof command)) << name;
    EXPECT_STREQ(command, "") << name;
  }
  EXPECT_FALSE(ComposeOpenCommand("C:\\q\"\\", "a.mid", command, sizeof command));
}

TEST(MciCommands, StoppedModeIsAReplyBeginningWithSt) {
  EXPECT_TRUE(ModeHasStopped("stopped"));
  EXPECT_FALSE(ModeHasStopped("playing"));
  EXPECT_FALSE(ModeHasStopped("s"));
  EXPECT_FALSE(ModeHasStopped(""));
  EXPECT_FALSE(ModeHasStopped("seeking"));
}
