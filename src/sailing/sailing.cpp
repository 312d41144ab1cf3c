#include "sailing/sailing.h"

// The sailing frame is being written.
void SailingFrame() {}
