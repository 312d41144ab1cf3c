#include "ports/ports.h"

int32_t deliveries;
int32_t dockProgress;
int32_t popupKind;
int32_t popupTimer;
Port* compassTarget;

// Docking and the ports' roles come with the ports and cargo work.
void UpdateDocking(int32_t, int32_t) {}
void ReactivatePorts() {}
void TakeFirstCargo() {}
