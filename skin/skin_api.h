#pragma once

// The two routines the skin library exports, as the program binds them by
// name. Both must be called on the user-interface thread of a running
// QApplication; elsewhere they do nothing and return 0.
extern "C" {

// Reads the skin file at `skinFile` (a path in the system's own bytes) and
// draws every window of the program in it from now on. `reserved` is
// accepted for callers that pass a second text and is not used. Returns 1
// when the skin was applied, 0 otherwise (the program then keeps its plain
// look).
int SkinH_AttachEx(const char* skinFile, const char* reserved);

// Recolours the attached skin: hue turned by -180..180 degrees, saturation
// and value (brightness) scaled by -100..100 percent, 0 leaving each as the
// skin file has it. Each call starts from the skin file's colours, so calls
// do not add up. Returns 1 when a skin was recoloured, 0 when none is
// attached.
int SkinH_AdjustHSV(int hue, int saturation, int value);

using SkinHAttachExRoutine = int (*)(const char*, const char*);
using SkinHAdjustHsvRoutine = int (*)(int, int, int);
}
