// Millisecond deadlines on the timeGetTime scale, compared as unsigned 32-bit
// values without wrap handling, and the blink schedule built on them.
#pragma once

#include <cstdint>

namespace zo {

// now + ms in unsigned arithmetic (a deadline past 2^32 wraps).
inline uint32_t Deadline(uint32_t now, int ms) { return now + static_cast<uint32_t>(ms); }

// A wait slot is over once the timer has reached its deadline.
inline bool DeadlineReached(uint32_t now, uint32_t deadline) { return now >= deadline; }

// zoSystem::Wait spins until the timer is strictly past its deadline.
inline bool SpinOver(uint32_t now, uint32_t deadline) { return now > deadline; }

// Seconds between two timer readings, as the frame loop measures them.
float ElapsedSeconds(uint32_t now, uint32_t last);

// Toggles the blink phase once its deadline has come: on for 1000 ms, off for 200 ms.
void StepBlink(uint32_t now, int* blinkOn, uint32_t* deadline);

// A slot number 1..10 names a wait slot.
inline bool IsWaitSlot(int slot) { return slot >= 1 && slot <= 10; }

}  // namespace zo
