// Sound objects over a stand-in DirectSound device whose buffers can refuse
// to be created or locked, and which counts what is still alive.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sound/sound_win.h"
#include "wave_builder.h"
#include "zo_test.h"

namespace {

int liveBuffers;
std::vector<std::string> calls;  // the setter calls every fake buffer receives

struct FakeBuffer final : IDirectSoundBuffer {
  ULONG refs = 1;
  std::vector<BYTE> memory;
  DWORD frequency;
  bool refuseLock;
  DWORD firstPart;  // bytes the lock hands back as its first region; the rest in the second

  FakeBuffer(DWORD size, DWORD hz, bool refuse, DWORD split)
      : memory(size, 0xAA), frequency(hz), refuseLock(refuse), firstPart(split) {
    ++liveBuffers;
  }

  STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
  STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
  STDMETHOD_(ULONG, Release)() override {
    ULONG left = --refs;
    if (left == 0) {
      --liveBuffers;
      delete this;
    }
    return left;
  }
  STDMETHOD(GetCaps)(LPDSBCAPS) override { return DS_OK; }
  STDMETHOD(GetCurrentPosition)(LPDWORD play, LPDWORD write) override {
    if (play) *play = 0;
    if (write) *write = 0;
    return DS_OK;
  }
  STDMETHOD(GetFormat)(LPWAVEFORMATEX, DWORD, LPDWORD) override { return DS_OK; }
  STDMETHOD(GetVolume)(LPLONG) override { return DS_OK; }
  STDMETHOD(GetPan)(LPLONG) override { return DS_OK; }
  STDMETHOD(GetFrequency)(LPDWORD hz) override {
    *hz = frequency;
    return DS_OK;
  }
  STDMETHOD(GetStatus)(LPDWORD status) override {
    *status = 0;
    return DS_OK;
  }
  STDMETHOD(Initialize)(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return DS_OK; }
  STDMETHOD(Lock)(DWORD offset, DWORD bytes, LPVOID* p1, LPDWORD n1, LPVOID* p2, LPDWORD n2, DWORD) override {
    if (refuseLock) return DSERR_INVALIDCALL;
    EXPECT_EQ(offset, 0u);
    EXPECT_EQ(bytes, memory.size());
    DWORD first = firstPart < bytes ? firstPart : bytes;
    *p1 = memory.data();
    *n1 = first;
    *p2 = first < bytes ? memory.data() + first : nullptr;
    *n2 = bytes - first;
    return DS_OK;
  }
  STDMETHOD(Play)(DWORD, DWORD, DWORD) override { return DS_OK; }
  STDMETHOD(SetCurrentPosition)(DWORD) override { return DS_OK; }
  STDMETHOD(SetFormat)(LPCWAVEFORMATEX) override { return DS_OK; }
  STDMETHOD(SetVolume)(LONG v) override {
    calls.push_back("volume " + std::to_string(v));
    return DS_OK;
  }
  STDMETHOD(SetPan)(LONG v) override {
    calls.push_back("pan " + std::to_string(v));
    return DS_OK;
  }
  STDMETHOD(SetFrequency)(DWORD v) override {
    calls.push_back("frequency " + std::to_string(v));
    return DS_OK;
  }
  STDMETHOD(Stop)() override { return DS_OK; }
  STDMETHOD(Unlock)(LPVOID p1, DWORD n1, LPVOID p2, DWORD n2) override {
    EXPECT_EQ(p1, memory.data());
    EXPECT_EQ(n1 + n2, memory.size());
    (void)p2;
    return DS_OK;
  }
  STDMETHOD(Restore)() override { return DS_OK; }
};

struct FakeDevice : IDirectSound {
  int created = 0;
  int refuseCreateAt = -1;  // the number of the creation that fails; -1 none
  int refuseLockAt = -1;
  DWORD split = 0xFFFFFFFF;
  std::vector<FakeBuffer*> made;

  STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
  STDMETHOD_(ULONG, AddRef)() override { return 1; }
  STDMETHOD_(ULONG, Release)() override { return 0; }
  STDMETHOD(CreateSoundBuffer)(LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER out, IUnknown*) override {
    int n = created++;
    EXPECT_EQ(desc->dwSize, sizeof(DSBUFFERDESC));  // 36 bytes on 32 bits
    static_assert(sizeof(void*) == 8 || sizeof(DSBUFFERDESC) == 36, "the classic buffer description");
    EXPECT_EQ(desc->dwFlags, 0xE2u);
    if (n == refuseCreateAt) return DSERR_OUTOFMEMORY;
    FakeBuffer* b = new FakeBuffer(desc->dwBufferBytes, desc->lpwfxFormat->nSamplesPerSec, n == refuseLockAt, split);
    made.push_back(b);
    *out = b;
    return DS_OK;
  }
  STDMETHOD(GetCaps)(LPDSCAPS) override { return DS_OK; }
  STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER, LPLPDIRECTSOUNDBUFFER) override { return E_NOTIMPL; }
  STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override { return DS_OK; }
  STDMETHOD(Compact)() override { return DS_OK; }
  STDMETHOD(GetSpeakerConfig)(LPDWORD) override { return DS_OK; }
  STDMETHOD(SetSpeakerConfig)(DWORD) override { return DS_OK; }
  STDMETHOD(Initialize)(LPCGUID) override { return DS_OK; }
};

struct FakeDeviceTest : ::testing::Test {
  FakeDevice device;
  void SetUp() override {
    zotest::CaptureBoxes();
    zotest::ClearBoxes();
    zoSound::ResetObjects();
    soundDevice = &device;
    primaryBuffer = nullptr;
    soundReady = 1;
    reloading = 0;
    liveBuffers = 0;
    calls.clear();
    ASSERT_TRUE(zotest::WriteBytes(std::string(MakeFullPath(0)) + "fake_tone.wav",
                                   zotest::ToneWave(2, 22050, 16, 300, 0.05)));
  }
  void TearDown() override {
    zoSound::ResetObjects();
    EXPECT_EQ(liveBuffers, 0);
    soundDevice = nullptr;
    soundReady = 0;
  }
  static std::string LastBox() { return zotest::boxes.empty() ? "" : zotest::boxes.back().text; }
  // A load of mixes buffers that fails once created buffers were made:
  // reported, and nothing of it kept.
  void ExpectLoadRefused(int mixes, int created) {
    EXPECT_EQ(zoSound::LoadObject("fake_tone.wav", mixes), -1);
    EXPECT_EQ(LastBox(), "zoSound::LoadObject : サウンドバッファが生成できません");
    EXPECT_EQ(device.created, created);
    EXPECT_EQ(liveBuffers, 0);
    EXPECT_EQ(soundObjects[0].used, 0);
  }
};

}  // namespace

TEST_F(FakeDeviceTest, ALaterMixThatCannotBeCreatedTakesTheEarlierOnesWithIt) {
  device.refuseCreateAt = 3;
  ExpectLoadRefused(5, 4);
  for (int k = 0; k < MaxMixes; ++k) EXPECT_EQ(soundObjects[0].buffers[k], nullptr);
}

TEST_F(FakeDeviceTest, ABufferThatCannotBeLockedIsNeverWrittenAndNeverKept) {
  device.refuseLockAt = 1;
  ExpectLoadRefused(3, 2);
}

TEST_F(FakeDeviceTest, BothRegionsOfTheLockAreFilled) {
  device.split = 1000;
  zotest::Bytes samples = zotest::Tone(2, 22050, 16, 300, 0.05);
  int i = zoSound::LoadObject("fake_tone.wav", 2);
  ASSERT_EQ(i, 0);
  ASSERT_EQ(device.made.size(), 2u);
  for (FakeBuffer* b : device.made) EXPECT_TRUE(b->memory == samples);
  EXPECT_EQ(liveBuffers, 2);
  EXPECT_EQ(soundObjects[i].baseFrequency, 22050u);
}

TEST_F(FakeDeviceTest, AReloadGivesVolumeFrequencyAndPanInThatOrder) {
  int i = zoSound::LoadObject("fake_tone.wav", 2);
  ASSERT_EQ(i, 0);
  zoSound::SetVolume(i, -12, 1);
  zoSound::SetFrequency(i, 30, 1);
  zoSound::SetPan(i, -4, 1);
  zo::ReleaseAllSoundBuffers();
  EXPECT_EQ(liveBuffers, 0);
  calls.clear();
  zo::ReloadAllObjects();
  EXPECT_EQ(calls, (std::vector<std::string>{"volume 0", "frequency 22050", "pan 0", "volume -1200",
                                             "frequency 25050", "pan -400"}));
  EXPECT_EQ(liveBuffers, 2);
  EXPECT_EQ(reloading, 0);
  EXPECT_TRUE(zotest::boxes.empty());
}

TEST_F(FakeDeviceTest, NoPrimaryBufferMeansTheFormatCannotBeChanged) {
  ASSERT_EQ(zoSound::LoadObject("fake_tone.wav", 1), 0);
  EXPECT_EQ(zoSound::SelectFormat(2, 44, 16), 0);
  EXPECT_EQ(LastBox(), "zoSound::SelectFormat : 再生フォーマットを変更できません");
  EXPECT_EQ(liveBuffers, 0);
  EXPECT_EQ(soundObjects[0].used, 1);
}
