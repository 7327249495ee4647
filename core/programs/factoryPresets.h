// The factory contents of the bank, slot by slot.
#pragma once

#include "CProgram.h"

// Writes slot `slot` (0 to 32) of the factory bank into `program`: its name
// and parameters 0, 2, 4, 5 and 6; the others keep the values they hold.
// Slots outside 0 to 32 leave the program alone.
void writeFactoryPreset(int slot, CProgram& program);
