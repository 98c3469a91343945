// Hostile files through the real loaders: BMP files, WAV files, image packs,
// sound packs and streams from the corpus that tools/make_hostile_files.py
// writes beside this program (hostile/, listed in hostile/list.txt), loaded
// for several rounds. Every load answers success or its failure value with
// exactly one error report per failure, the heaps stay valid after every
// load, and GDI objects, windows, kernel handles, heap blocks and committed
// memory stay flat from the second round to the last.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "draw/objects_win.h"
#include "draw_support.h"
#include "resource_count.h"
#include "wave_builder.h"
#include "zo_test.h"

namespace {

const int Rounds = 4;
// Heap bytes and committed memory may settle by less than one object's
// worth; anything a load leaked would be counted once per load per round.
const size_t HeapBlockSlack = 16;
const size_t HeapByteSlack = 16 * 1024;
const size_t MemorySlack = 64 * 1024;

struct Load {
  std::string kind, file, entry;
  int loop = 0;
  bool mustRefuse = false;  // the line ends in "refused"
};

std::vector<Load> ReadList() {
  std::vector<Load> loads;
  std::ifstream list(zotest::ExeFolder() + "hostile\\list.txt");
  for (std::string line; std::getline(list, line);) {
    std::istringstream fields(line);
    Load l;
    fields >> l.kind >> l.file;
    if (l.kind == "imagepack" || l.kind == "soundpack" || l.kind == "stream") fields >> l.entry;
    if (l.kind == "stream" || l.kind == "oggstream") fields >> l.loop;
    std::string verdict;
    fields >> verdict;
    l.mustRefuse = verdict == "refused";
    if (!l.file.empty()) loads.push_back(l);
  }
  return loads;
}

struct Tally {
  int loaded = 0, refused = 0;
};

struct Counts {
  int gdi, windows, handles;
  zotest::HeapUse heap;
  size_t memory;
};

Counts Measure() {
  return {zotest::CountGdiObjects(), zotest::CountWindows(), zotest::CountKernelHandles(),
          zotest::MeasureHeaps(), zotest::CommittedPrivateBytes()};
}

bool IsSound(const std::string& kind) {
  return kind == "wav" || kind == "soundpack" || kind == "stream" || kind == "ogg" || kind == "oggstream";
}

// One load through the library's own operation; answers whether it
// succeeded and gives back what it made.
bool LoadOnce(const Load& l) {
  const int claimed = zo::FindFreeObject();
  EXPECT_GE(claimed, 0) << "the object table filled up";
  if (claimed < 0) return false;
  if (l.kind == "bmp" || l.kind == "picture") {
    const int index = zoDraw::LoadObject(l.file.c_str(), 0);
    if (index == 0) {
      // A refused file keeps its record named, as LoadObject does; free it
      // so that the table never fills.
      EXPECT_EQ(drawObjects[claimed].surface, nullptr) << l.file;
      drawObjects[claimed].name[0] = '\0';
      return false;
    }
    zoDraw::ReleaseObject(index);
    return true;
  }
  if (l.kind == "imagepack") {
    zoDraw::SetPackFile(l.file.c_str());
    const int index = zoDraw::LoadPack(l.entry.c_str(), 0);
    if (index == 0) {
      EXPECT_EQ(drawObjects[claimed].name[0], '\0') << l.file << " " << l.entry << ": record kept";
      return false;
    }
    zoDraw::ReleaseObject(index);
    return true;
  }
  int index = -1;
  if (l.kind == "wav" || l.kind == "ogg") {
    index = zoSound::LoadObject(l.file.c_str(), 1);
  } else if (l.kind == "oggstream") {
    index = zoSound::LoadStreamFile(l.file.c_str(), l.loop);
  } else {
    zoSound::SetPackFile(l.file.c_str());
    index = l.kind == "soundpack" ? zoSound::LoadPack(l.entry.c_str(), 2)
                                  : zoSound::LoadStream(l.entry.c_str(), l.loop);
  }
  if (index < 0) return false;
  if (l.kind == "stream" || l.kind == "oggstream") {
    // A loaded stream plays and refills from its hostile entry without a
    // fault. (A short entry loads whole, as a plain sound.)
    zoSound::Play(index, 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(zoSound::Streaming(), 1) << l.file;
    if (soundObjects[index].stream.dataSize != 0) {
      EXPECT_EQ(zoSound::ResetStream(index), 1) << l.file;
    }
    zoSound::Stop(index, -1);
  }
  zoSound::ReleaseObject(index);
  return true;
}

struct HostileFilesTest : ::testing::Test {
  void SetUp() override {
    zotest::CaptureBoxes();
    zoDraw::SetColorKey(0);
    ASSERT_EQ(zotest::OpenDisplay(), 1);
    zotest::ClearBoxes();
    loads = ReadList();
    ASSERT_GT(loads.size(), 1000u) << "no corpus: tools/make_hostile_files.py writes it";
  }
  void TearDown() override {
    zoDraw::SetPackFile(nullptr);
    zoSound::SetPackFile(nullptr);
    // As the program's own end does: the sound device goes before the
    // display, so no mixer thread outlives what it plays into.
    zoSound::ReleaseDevice();
    zoDraw::ReleaseAll();
  }

  // Every load once; answers what each kind did.
  std::map<std::string, Tally> Round() {
    std::map<std::string, Tally> tally;
    for (const Load& l : loads) {
      if (IsSound(l.kind) && !soundReady) continue;
      const size_t before = zotest::boxes.size();
      const bool ok = LoadOnce(l);
      const size_t reports = zotest::boxes.size() - before;
      if (l.mustRefuse) {
        EXPECT_FALSE(ok) << l.kind << " " << l.file << " " << l.entry << " must be refused";
      }
      EXPECT_TRUE(zotest::HeapsValid()) << l.kind << " " << l.file << " " << l.entry;
      EXPECT_EQ(reports, ok ? 0u : 1u) << l.kind << " " << l.file << " " << l.entry
                                       << (reports ? ": " + zotest::boxes.back().text : "");
      Tally& t = tally[l.kind];
      ++(ok ? t.loaded : t.refused);
    }
    zotest::ClearBoxes();
    return tally;
  }

  std::vector<Load> loads;
};

}  // namespace

// Ten of each thing the counts measure, made and given back.
struct MadeObjects {
  HBRUSH brushes[10];
  HANDLE events[10];
  HWND windows[10];
  void* blocks[10];
  std::vector<void*> small;
  void* region;

  MadeObjects() {
    for (auto& b : brushes) b = CreateSolidBrush(RGB(1, 2, 3));
    for (auto& e : events) e = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    for (auto& w : windows) w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    for (auto& b : blocks) b = HeapAlloc(GetProcessHeap(), 0, 100000);
    for (int i = 0; i < 1000; ++i) small.push_back(std::malloc(24));
    region = VirtualAlloc(nullptr, 1 << 20, MEM_COMMIT, PAGE_READWRITE);
  }
  ~MadeObjects() {
    VirtualFree(region, 0, MEM_RELEASE);
    for (void* p : small) std::free(p);
    for (auto& b : blocks) HeapFree(GetProcessHeap(), 0, b);
    for (auto& w : windows) DestroyWindow(w);
    for (auto& e : events) CloseHandle(e);
    for (auto& b : brushes) DeleteObject(b);
  }
};

TEST_F(HostileFilesTest, EachCountMovesWhenObjectsAreMade) {
  { MadeObjects warmUp; }  // the first window of a class sets up caches
  const Counts before = Measure();
  Counts during;
  {
    MadeObjects made;
    during = Measure();
  }
  const Counts after = Measure();
  EXPECT_GE(during.gdi, before.gdi + 10);
  EXPECT_GE(during.handles, before.handles + 10);
  EXPECT_GE(during.windows, before.windows + 10);
  EXPECT_GE(during.heap.blocks, before.heap.blocks + 10 + 1000);
  EXPECT_GE(during.heap.bytes, before.heap.bytes + 10 * 100000 + 1000 * 24);
  EXPECT_GE(during.memory, before.memory + (1 << 20));
  // Given back, everything counts as before.
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_EQ(after.handles, before.handles);
  EXPECT_EQ(after.heap.blocks, before.heap.blocks);
  EXPECT_TRUE(zotest::HeapsValid());
  std::printf("made ten of each: GDI objects %d -> %d, windows %d -> %d, handles %d -> %d, heap blocks %zu -> %zu, "
              "committed KB %zu -> %zu\n",
              before.gdi, during.gdi, before.windows, during.windows, before.handles, during.handles,
              before.heap.blocks, during.heap.blocks, before.memory / 1024, during.memory / 1024);
}

TEST_F(HostileFilesTest, EveryLoadAnswersOnceAndLeavesNothingBehind) {
  if (!soundReady) std::printf("no sound device: only the BMP files and image packs are loaded\n");
  const std::map<std::string, Tally> first = Round();
  Round();
  const Counts settled = Measure();
  for (int round = 2; round < Rounds; ++round) {
    std::map<std::string, Tally> again = Round();
    for (const auto& k : first) {
      EXPECT_EQ(again[k.first].loaded, k.second.loaded) << k.first << ": the same files load every round";
      EXPECT_EQ(again[k.first].refused, k.second.refused) << k.first;
    }
  }
  const Counts end = Measure();  // nothing of this test's own is held more than at `settled`
  EXPECT_EQ(end.gdi, settled.gdi);
  EXPECT_EQ(end.windows, settled.windows);
  EXPECT_EQ(end.handles, settled.handles);
  EXPECT_LE(end.heap.blocks, settled.heap.blocks + HeapBlockSlack);
  EXPECT_LE(end.heap.bytes, settled.heap.bytes + HeapByteSlack);
  EXPECT_LE(end.memory, settled.memory + MemorySlack);

  // Each kind has both: the good files load, the damaged ones mostly not.
  for (const char* kind : {"bmp", "wav", "imagepack", "soundpack", "stream", "picture", "ogg", "oggstream"}) {
    if (IsSound(kind) && !soundReady) continue;
    const Tally t = first.count(kind) ? first.at(kind) : Tally{};
    EXPECT_GT(t.loaded, 0) << kind;
    EXPECT_GT(t.refused, t.loaded / 4) << kind;
    std::printf("%-9s %4d loads per round: %4d loaded, %4d refused with one report each\n", kind,
                t.loaded + t.refused, t.loaded, t.refused);
  }
  std::printf("rounds 2..%d: GDI objects %d -> %d, windows %d -> %d, handles %d -> %d, "
              "heap blocks %zu -> %zu, heap bytes %zu -> %zu, committed KB %zu -> %zu\n",
              Rounds, settled.gdi, end.gdi, settled.windows, end.windows, settled.handles, end.handles,
              settled.heap.blocks, end.heap.blocks, settled.heap.bytes, end.heap.bytes, settled.memory / 1024,
              end.memory / 1024);
}

// ---- Packs rebuilt from a folder that is not there ----

TEST_F(HostileFilesTest, ASoundPackRebuiltFromAMissingFolderKeepsTheOldPack) {
  if (!soundReady) GTEST_SKIP() << "no sound device in this test bed";
  const std::string pack = zotest::ExeFolder() + "hostile\\rebuilt.pak";
  const std::vector<uint8_t> old = {'o', 'l', 'd', ' ', 'p', 'a', 'c', 'k'};
  ASSERT_TRUE(zotest::WriteBytes(pack, old));
  zotest::ClearBoxes();
  EXPECT_EQ(zoSound::Convert("hostile\\rebuilt.pak", "hostile\\no such folder", 1), 0);
  ASSERT_EQ(zotest::boxes.size(), 1u);
  EXPECT_EQ(zotest::boxes[0].text, "zoSound::Convert : フォルダが見つかりません");
  EXPECT_EQ(zotest::ReadBytes(pack), old);
  EXPECT_EQ(zoSound::Convert("hostile\\rebuilt.pak", "hostile\\no such folder", 0), 0);
  EXPECT_EQ(zotest::ReadBytes(pack), old);
  DeleteFileA(pack.c_str());
  zotest::ClearBoxes();
}

// ---- Bitmaps that claim sizes no sprite can hold ----

// A 1 KB RLE file claiming 30000 x 30000 pixels (or a side past 16 bits) is
// refused with one box before the decoder spends seconds on a huge DIB.
TEST_F(HostileFilesTest, RleBitmapsClaimingHugeSizesAreRefusedAtOnce) {
  int seen = 0;
  for (const Load& l : loads) {
    if (l.file.find("rle-size-") == std::string::npos) continue;
    ++seen;
    const int claimed = zo::FindFreeObject();
    const size_t before = zotest::boxes.size();
    const DWORD start = GetTickCount();
    EXPECT_EQ(zoDraw::LoadObject(l.file.c_str(), 0), 0) << l.file;
    EXPECT_LT(GetTickCount() - start, 1000u) << l.file;
    ASSERT_EQ(zotest::boxes.size(), before + 1) << l.file;
    EXPECT_NE(zotest::boxes.back().text.find("BMP"), std::string::npos) << zotest::boxes.back().text;
    zoDraw::ReleaseObject(claimed);  // the record the failed load left claimed
    EXPECT_EQ(drawObjects[claimed].name[0], '\0') << l.file;
  }
  EXPECT_EQ(seen, 12);
}
