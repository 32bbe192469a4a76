/*
 * The Calculate command's display of the seat equities, through the window
 * seam; apart from the computation so that other programs link without it.
 */
#include "seat_equity.h"

#include <cstdio>

#include "number_entry.h"
#include "resource_ids.h"
#include "subset_equity.h"
#include "window_seam.h"

static void WriteSeatEquity(WindowHandle window, int32_t seat, double equity)
{
    char text[FixedTextCapacity];
    text[0] = '\0';
    if (equity > 0.0)
        std::snprintf(text, sizeof text, "%0.3f", equity);
    SetDialogControlText(window, IDC_RESULT_FIRST + seat, text);
}

/*
 * Below the budget every seat goes through the plain recursion, field by
 * field as it is computed. Above it the subset method computes all seats in
 * one pass first; the fields are still written in seat order.
 */
void ShowSeatEquities(WindowHandle window)
{
    const int32_t seats = ShownSeatCount();
    for (int32_t seat = 0; seat < seats; ++seat)
        SetDialogControlText(window, IDC_RESULT_FIRST + seat, "");
    double equities[SeatCount] = {};
    const bool bySubsets = FieldNeedsSubsets();
    if (bySubsets)
        ComputeEquitiesBySubsets(equities);
    for (int32_t seat = 0; seat < seats; ++seat)
    {
        const uint32_t index = static_cast<uint32_t>(seat);
        WriteSeatEquity(window, seat, bySubsets ? equities[index] : ComputeSeatEquity(index));
    }
}
