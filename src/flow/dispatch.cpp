#include "flow/dispatch.h"

int32_t GameState = 100;

void RunFrame() {}
