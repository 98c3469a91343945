/* A MIDI output port that plays nothing, for the test prefix. Wine's MCI
 * sequencer only advances through a sequence when it can open a port, and
 * the test machines have none. The audio exports are forwarded to the
 * PulseAudio driver (see silent_midi.def), so DirectSound is unaffected
 * when this driver is the one named in the prefix's registry. */
#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

typedef struct {
  int open;
  MIDIOPENDESC desc;
  WORD callbackType; /* a DCB_ value, as DriverCallback wants it */
} Port;

static Port port;

/* winmm exports it for drivers; the SDK headers leave it out. */
BOOL WINAPI DriverCallback(DWORD_PTR callback, DWORD flags, HDRVR device, DWORD message, DWORD_PTR user,
                           DWORD_PTR param1, DWORD_PTR param2);

static void Notify(UINT message, DWORD_PTR param1) {
  DriverCallback(port.desc.dwCallback, port.callbackType, (HDRVR)port.desc.hMidi, message,
                 port.desc.dwInstance, param1, 0);
}

static DWORD Open(const MIDIOPENDESC* desc, DWORD flags) {
  if (!desc) return MMSYSERR_INVALPARAM;
  if (port.open) return MMSYSERR_ALLOCATED;
  port.desc = *desc;
  port.callbackType = HIWORD(flags & CALLBACK_TYPEMASK);
  port.open = 1;
  Notify(MOM_OPEN, 0);
  return MMSYSERR_NOERROR;
}

static DWORD Close(void) {
  if (!port.open) return MMSYSERR_ERROR;
  Notify(MOM_CLOSE, 0);
  port.open = 0;
  return MMSYSERR_NOERROR;
}

/* A long message is finished the moment it arrives. */
static DWORD LongData(MIDIHDR* header, DWORD_PTR size) {
  if (!port.open) return MIDIERR_NODEVICE;
  if (!header || size < sizeof(MIDIHDR) || !(header->dwFlags & MHDR_PREPARED)) return MIDIERR_UNPREPARED;
  header->dwFlags &= ~MHDR_INQUEUE;
  header->dwFlags |= MHDR_DONE;
  Notify(MOM_DONE, (DWORD_PTR)header);
  return MMSYSERR_NOERROR;
}

static DWORD Caps(MIDIOUTCAPSW* caps, DWORD_PTR size) {
  static const WCHAR name[] = L"zo silent MIDI";
  MIDIOUTCAPSW full;
  if (!caps) return MMSYSERR_INVALPARAM;
  ZeroMemory(&full, sizeof full);
  full.wMid = 0xFF;
  full.wPid = 1;
  full.vDriverVersion = 0x0100;
  lstrcpynW(full.szPname, name, MAXPNAMELEN);
  full.wTechnology = MOD_SYNTH;
  full.wVoices = 16;
  full.wNotes = 16;
  full.wChannelMask = 0xFFFF;
  CopyMemory(caps, &full, size < sizeof full ? size : sizeof full);
  return MMSYSERR_NOERROR;
}

DWORD WINAPI modMessage(UINT device, UINT message, DWORD_PTR user, DWORD_PTR param1, DWORD_PTR param2) {
  (void)user;
  switch (message) {
    case DRVM_INIT:
    case DRVM_EXIT:
    case DRVM_ENABLE:
    case DRVM_DISABLE:
      return MMSYSERR_NOERROR;
    case MODM_GETNUMDEVS:
      return 1;
  }
  if (device != 0) return MMSYSERR_BADDEVICEID;
  switch (message) {
    case MODM_GETDEVCAPS:
      return Caps((MIDIOUTCAPSW*)param1, param2);
    case MODM_OPEN:
      return Open((const MIDIOPENDESC*)param1, (DWORD)param2);
    case MODM_CLOSE:
      return Close();
    case MODM_DATA:
    case MODM_RESET:
      return port.open ? MMSYSERR_NOERROR : MIDIERR_NODEVICE;
    case MODM_LONGDATA:
      return LongData((MIDIHDR*)param1, param2);
    default:
      /* Preparing headers and the rest are left to winmm. */
      return MMSYSERR_NOTSUPPORTED;
  }
}

LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM param1, LPARAM param2) {
  switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_OPEN:
    case DRV_CLOSE:
    case DRV_ENABLE:
    case DRV_DISABLE:
      return 1;
    case DRV_QUERYCONFIGURE:
      return 0;
    case DRV_CONFIGURE:
      return DRVCNF_OK;
    case DRV_INSTALL:
    case DRV_REMOVE:
      return DRVCNF_RESTART;
    default:
      return DefDriverProc(id, driver, message, param1, param2);
  }
}
