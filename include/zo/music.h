// MIDI music through the MCI sequencer, one sequence at a time under the
// alias "midi", replayed at its end unless looping is off.
#pragma once

#include <windows.h>
#include <mmsystem.h>

extern int midiOpen;      // a sequence is open under "midi" (set by Play whatever MCI answered)
extern int midiFinished;  // the current sequence reached its end at least once
extern int midiLoop;      // replay the sequence when it ends

namespace zoMusic {
int Init();                                  // flags to closed, unfinished, looping; 1
MCIERROR Play(const char* name, int loop);   // file beside the executable; the play command's MCI error
void Stop();                                 // stop and close the open sequence
MCIERROR ForceClose();                       // stop and close whatever is open; the close's MCI error
void StopLooping();                          // the current pass is the last
void OnSequenceEnd();                        // replay or close; called by the window procedure
}  // namespace zoMusic
