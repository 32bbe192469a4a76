/*
 * Bench fields, and the window seam as a no-op: the benchmarks measure the
 * computation and the text formatting, not a window system.
 */
#include "bench_field.h"

#include "tournament_state.h"
#include "window_seam.h"

void EnableDialogControl(WindowHandle, int32_t, bool)
{
}

void SetDialogControlText(WindowHandle, int32_t, const char *)
{
}

void SetBenchField(int32_t seats, int32_t paid)
{
    ResetTournamentState();
    TournamentStateRecord &state = TournamentState;
    for (int32_t seat = 0; seat < SeatCount; ++seat)
        state.PlayerChips[seat] = seat < seats ? 1500 + (seat * 7919) % 9000 : 0;
    for (int32_t place = 0; place < PlaceCount; ++place)
        state.Payouts[place] = place < paid ? 100000.0 / (place + 1) : 0.0;
    state.PlayerCount = seats <= MainWindowPlaces ? MainWindowPlaces : SeatCount;
    RecountPaidPlaces(nullptr, 0);
}
