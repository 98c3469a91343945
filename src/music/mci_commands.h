// The MCI command strings of MIDI playback, under the alias "midi".
#pragma once

#include <cstddef>

namespace zo {

const size_t MciCommandCapacity = 260;

extern const char* const MciSeekToStart;  // "seek midi to start"
extern const char* const MciPlayNotify;   // "play midi notify"
extern const char* const MciStop;         // "stop midi"
extern const char* const MciClose;        // "close midi"
extern const char* const MciStatusMode;   // "status midi mode"

// open "<folder><name>" type sequencer alias midi, quoted so the path may
// hold spaces. Answers false, leaving command empty, when it would not fit
// capacity bytes (a cut path would open some other file or none), or when
// the path holds a double quote, which would end the quoting early.
bool ComposeOpenCommand(const char* folder, const char* name, char* command, size_t capacity);

// The reply of "status midi mode" says the sequence has stopped.
bool ModeHasStopped(const char* reply);

}  // namespace zo
