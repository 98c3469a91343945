#include "music/mci_commands.h"

#include <cstdio>
#include <cstring>

namespace zo {

const char* const MciSeekToStart = "seek midi to start";
const char* const MciPlayNotify = "play midi notify";
const char* const MciStop = "stop midi";
const char* const MciClose = "close midi";
const char* const MciStatusMode = "status midi mode";

bool ComposeOpenCommand(const char* folder, const char* name, char* command, size_t capacity) {
  if (capacity == 0) return false;
  command[0] = '\0';
  // A double quote would end the quoted path early and let the rest of the
  // name be read as more of the command.
  if ((folder && std::strchr(folder, '"')) || (name && std::strchr(name, '"'))) return false;
  int n = std::snprintf(command, capacity, "open \"%s%s\" type sequencer alias midi", folder ? folder : "",
                        name ? name : "");
  if (n < 0 || static_cast<size_t>(n) >= capacity) {
    command[0] = '\0';
    return false;
  }
  return true;
}

bool ModeHasStopped(const char* reply) { return reply && reply[0] == 's' && reply[1] == 't'; }

}  // namespace zo
