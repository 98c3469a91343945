// MIDI playback through MCI command strings; only the play commands ask for
// a notification, sent to mainWindow.
#include "music/music_win.h"

#include "music/mci_commands.h"
#include "zo.h"

int midiOpen;
int midiFinished;
int midiLoop = 1;

namespace {

MCIERROR Send(const char* command, HWND callback = nullptr) {
  return mciSendStringA(command, nullptr, 0, callback);
}

MCIERROR StartFromTheTop() {
  Send(zo::MciSeekToStart);
  return Send(zo::MciPlayNotify, mainWindow);
}

}  // namespace

namespace zo {

void HandleMciNotify(WPARAM flags) {
  if (flags != MCI_NOTIFY_SUCCESSFUL || !midiOpen) return;
  char reply[32] = "";
  mciSendStringA(MciStatusMode, reply, sizeof reply, nullptr);
  reply[sizeof reply - 1] = '\0';
  if (ModeHasStopped(reply)) zoMusic::OnSequenceEnd();
}

}  // namespace zo

namespace zoMusic {

int Init() {
  midiOpen = 0;
  midiFinished = 0;
  midiLoop = 1;
  return 1;
}

MCIERROR Play(const char* name, int loop) {
  char command[zo::MciCommandCapacity];
  // Nothing is sent for a path that does not fit: what plays goes on playing.
  if (!zo::ComposeOpenCommand(MakeFullPath(0), name, command, sizeof command)) return MCIERR_PARAM_OVERFLOW;
  if (midiOpen) Stop();
  Send(command);
  MCIERROR result = StartFromTheTop();
  midiOpen = 1;
  midiFinished = 0;
  midiLoop = loop;
  return result;
}

void Stop() {
  if (!midiOpen) return;
  Send(zo::MciStop);
  Send(zo::MciClose);
  midiOpen = 0;
}

MCIERROR ForceClose() {
  Send(zo::MciStop);
  return Send(zo::MciClose);
}

void StopLooping() { midiLoop = 0; }

void OnSequenceEnd() {
  if (midiLoop)
    StartFromTheTop();
  else
    Stop();
  midiFinished = 1;
}

}  // namespace zoMusic
