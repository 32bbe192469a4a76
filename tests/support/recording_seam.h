/*
 * A stand-in for the window seam that records every call, so tests of the
 * computation can check which controls were enabled or written, in which
 * order, without a window system. A test may hook text writes to act like a
 * window that answers EN_UPDATE.
 */
#ifndef OSTREL_RECORDING_SEAM_H
#define OSTREL_RECORDING_SEAM_H

#include <cstdint>
#include <string>
#include <vector>

#include "tournament_state.h"

struct SeamCall
{
    char Kind; // 'E' enable, 'T' text
    WindowHandle Window;
    int32_t ControlId;
    bool Enabled;
    std::string Text;
};

extern std::vector<SeamCall> SeamCalls;
// Called after each recorded text write, still inside the write.
extern void (*SeamTextHook)(WindowHandle window, int32_t controlId, const char *text);

void ClearSeamCalls();
// The last text written into a control of `window`, or "(never)".
std::string LastSeamText(WindowHandle window, int32_t controlId);
// The last enable state given to a control: 1, 0, or -1 when never touched.
int LastSeamEnable(WindowHandle window, int32_t controlId);

#endif
