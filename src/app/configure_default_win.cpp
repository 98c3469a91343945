// The configuration hook for games that keep the start-up's defaults. It
// sits alone in its object file: a game that defines DemoConfigure itself
// never pulls this one out of the library.
#include "zo/system.h"

void DemoConfigure() {}
