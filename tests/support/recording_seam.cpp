#include "recording_seam.h"

#include "window_seam.h"

std::vector<SeamCall> SeamCalls;
void (*SeamTextHook)(WindowHandle window, int32_t controlId, const char *text) = nullptr;

void EnableDialogControl(WindowHandle dialog, int32_t controlId, bool enable)
{
    SeamCalls.push_back({'E', dialog, controlId, enable, std::string()});
}

void SetDialogControlText(WindowHandle dialog, int32_t controlId, const char *text)
{
    SeamCalls.push_back({'T', dialog, controlId, false, text});
    if (SeamTextHook != nullptr)
        SeamTextHook(dialog, controlId, text);
}

void ClearSeamCalls()
{
    SeamCalls.clear();
    SeamTextHook = nullptr;
}

std::string LastSeamText(WindowHandle window, int32_t controlId)
{
    for (auto call = SeamCalls.rbegin(); call != SeamCalls.rend(); ++call)
        if (call->Kind == 'T' && call->Window == window && call->ControlId == controlId)
            return call->Text;
    return "(never)";
}

int LastSeamEnable(WindowHandle window, int32_t controlId)
{
    for (auto call = SeamCalls.rbegin(); call != SeamCalls.rend(); ++call)
        if (call->Kind == 'E' && call->Window == window && call->ControlId == controlId)
            return call->Enabled ? 1 : 0;
    return -1;
}
