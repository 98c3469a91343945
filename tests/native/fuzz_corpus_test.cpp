// Every fuzz target over every file of its corpus (fuzz/corpus/<target>/):
// the seeds and each finding the fuzzer ever saved stay fixed. The targets
// are compiled into this program and register themselves by name.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "fuzz_target.h"

namespace {

std::map<std::string, zofuzz::Entry>& Targets() {
  static std::map<std::string, zofuzz::Entry> targets;
  return targets;
}

std::string current;  // the file being replayed, for the failure message

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> b;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(f)) != EOF;) b.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
  }
  return b;
}

}  // namespace

namespace zofuzz {

void Register(const char* name, Entry entry) { Targets()[name] = entry; }

void Fail(const char* file, int line, const char* what) {
  ADD_FAILURE_AT(file, line) << "broken for " << current << ": " << what;
}

}  // namespace zofuzz

TEST(FuzzCorpus, EveryTargetHasACorpusAndEveryCorpusATarget) {
  const std::string root = ZO_FUZZ_CORPUS;
  const std::vector<std::string> folders = Names(root);
  EXPECT_GE(Targets().size(), 6u);
  for (const auto& t : Targets())
    EXPECT_TRUE(std::find(folders.begin(), folders.end(), t.first) != folders.end()) << t.first;
  for (const std::string& f : folders) EXPECT_EQ(Targets().count(f), 1u) << f;
}

TEST(FuzzCorpus, EveryFileReplaysClean) {
  for (const auto& t : Targets()) {
    const std::string folder = std::string(ZO_FUZZ_CORPUS) + "/" + t.first + "/";
    const std::vector<std::string> names = Names(folder);
    EXPECT_GE(names.size(), 5u) << t.first << ": too few seeds";
    for (const std::string& name : names) {
      current = t.first + "/" + name;
      const std::vector<uint8_t> bytes = ReadFile(folder + name);
      // An empty vector's data() may be null; the fuzzer never passes that.
      const uint8_t none = 0;
      t.second(bytes.empty() ? &none : bytes.data(), bytes.size());
    }
    std::printf("%s: %zu files\n", t.first.c_str(), names.size());
  }
}
