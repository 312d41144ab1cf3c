#include "hud/statusbar.h"

void DrawStatusBar() {}
