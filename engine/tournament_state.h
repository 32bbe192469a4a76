/*
 * The one process-wide record of the calculator: seats, payout ladder, the
 * bubble tool's inputs, validity and guard flags, equity scratch, layout
 * metrics and the settings path. Every subsystem reads and writes its fields
 * directly. Platform handles are opaque here so that the computation builds
 * without <windows.h>; with STRICT they are the very HWND and HINSTANCE types.
 */
#ifndef OSTREL_TOURNAMENT_STATE_H
#define OSTREL_TOURNAMENT_STATE_H

#include <cstdint>

typedef struct HWND__ *WindowHandle;
typedef struct HINSTANCE__ *ModuleHandle;

enum
{
    SeatCount = 18,
    PlaceCount = 30,
    MainWindowPlaces = 10,
    PathCapacity = 260,
    DirectoryCapacity = 288,
    EntryTextCapacity = 256, // every entry and file value is read into this much
};

// Pixel measurements of the main window, taken once from its template layout.
struct LayoutMetricsRecord
{
    int32_t WindowWidth;
    int32_t TenSeatWindowHeight;
    int32_t SeatGroupHeight;
    int32_t SeatGroupWidth;
    int32_t ButtonRowX[3];
    int32_t ButtonColumnX;
    int32_t ButtonRowY;
    int32_t EighteenSeatWindowHeight;
    int32_t ButtonColumnY[3];
    int32_t PayoutGroupHeight;
};

struct TournamentStateRecord
{
    int32_t PlayerChips[SeatCount];
    double Payouts[PlaceCount];
    int32_t PayoutDecimals[PlaceCount]; // -1 marks a rejected entry
    int32_t PlayerCount;
    int32_t PaidPlaces;
    int32_t InitPlayers;
    int32_t InitChips;
    int32_t ChipEntryInvalid[SeatCount];
    int32_t HeroStack;
    int32_t OpponentStacks[SeatCount];
    int32_t OpponentCount;
    LayoutMetricsRecord LayoutMetrics;
    ModuleHandle AppInstance;
    WindowHandle MainWindow;
    int32_t MainUpdating;
    int32_t ExtraPayoutsUpdating;
    int32_t BubbleUpdating;
    int32_t BubblePlayersValid;
    int32_t BubbleChipsValid;
    char SettingsPath[PathCapacity];
    char SettingsDir[DirectoryCapacity];
};

extern TournamentStateRecord TournamentState;

// The record as the process starts; tests use it to begin from a known state.
void ResetTournamentState();

// PlayerCount, kept within 0..SeatCount: the seats the window shows.
int32_t ShownSeatCount();

// The ladder rule: keeps places 1..PaidPlaces positive and zeros behind them,
// follows the ladder with the payout edits that live in `window` and tells
// whether the ladder may feed a calculation (1) or not (0).
int32_t RecountPaidPlaces(WindowHandle window, int32_t extraDialog);

// Whether the ladder as the record now holds it may feed a calculation: at
// least one place paid and no payout entry rejected. Reads the record only.
bool LadderIsUsable();
// The ladder rule for `window`, then LadderIsUsable on what it leaves: the
// verdict every window's enable rule starts from.
bool SettleLadder(WindowHandle window, int32_t extraDialog);

#endif
