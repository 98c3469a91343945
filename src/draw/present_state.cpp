// Presentation state that input rules read as well.
#include "zo/input_state.h"

int viewerMode;
int transitionStep;
