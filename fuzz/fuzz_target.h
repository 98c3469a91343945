// What every fuzz target shares. ZO_FUZZ_TARGET(name) opens the entry point:
// built as a libFuzzer program it is LLVMFuzzerTestOneInput; built into the
// native tests (ZO_FUZZ_REPLAY) it registers under name, and the corpus
// replay runs it over every file of fuzz/corpus/<name>/.
// FUZZ_CHECK states what must hold for any input: the fuzzer stops on a
// broken one as on a crash, the replay reports it as a test failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace zofuzz {

// The bytes of an input taken from the front, zero once they run out.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return size_ ? (--size_, *data_++) : 0; }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
  uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
  const uint8_t* rest() const { return data_; }
  size_t left() const { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
};

using Entry = int (*)(const uint8_t* data, size_t size);

#ifdef ZO_FUZZ_REPLAY
void Register(const char* name, Entry entry);
void Fail(const char* file, int line, const char* what);
struct Registration {
  Registration(const char* name, Entry entry) { Register(name, entry); }
};
#else
inline void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, what);
  std::abort();
}
#endif

}  // namespace zofuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : zofuzz::Fail(__FILE__, __LINE__, #condition))

#ifdef ZO_FUZZ_REPLAY
#define ZO_FUZZ_TARGET(name)                                          \
  static int FuzzOne(const uint8_t* data, size_t size);               \
  static const zofuzz::Registration registration(#name, FuzzOne);     \
  static int FuzzOne
#else
#define ZO_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput
#endif
