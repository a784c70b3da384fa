// The x87 control word that all of the runtime's arithmetic runs under.
#pragma once

// Loads control word 0x133F: every exception masked, 64-bit extended precision, rounding to
// nearest even. System calls may leave another word behind, so callers load it again after them.
void LoadFloatControl();
