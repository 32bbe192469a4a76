/*
 * Settings and payout structure files. Every value passes through
 * GetPrivateProfileIntA, GetPrivateProfileStringA or WritePrivateProfileStringA,
 * one key per call, in a fixed order; this code never opens a file itself.
 * A failed write goes unnoticed: the next reading finds the old values.
 */
#include <windows.h>

#include "settings_file.h"

#include <cstdio>

#include "number_entry.h"
#include "resource_ids.h"

namespace
{

const char CommonSection[] = "common";
const char PayoutsSection[] = "payouts";
const char ChipsSection[] = "chips";

enum
{
    KeyCapacity = 16,
    ChipEntryLimit = 31,
    StartPlayerCount = 10,
    OtherPlayerCount = 18,
    DefaultInitPlayers = 180,
    DefaultInitChips = 1500,
};

struct NumberedKey
{
    char Text[KeyCapacity];
};

NumberedKey MakeNumberedKey(const char *prefix, int32_t number)
{
    NumberedKey key;
    std::snprintf(key.Text, sizeof key.Text, "%s%d", prefix, static_cast<int>(number));
    return key;
}

// An empty path would make the profile functions look in the Windows folder;
// without a settings path there is nothing to read or write.
bool HasPath(const char *path)
{
    return path != nullptr && path[0] != '\0';
}

int32_t ReadInteger(const char *section, const char *key, int32_t fallback, const char *path)
{
    if (!HasPath(path))
        return fallback;
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, fallback, path));
}

void ReadText(const char *key, char (&text)[EntryTextCapacity], const char *path)
{
    text[0] = '\0';
    if (HasPath(path))
        GetPrivateProfileStringA(PayoutsSection, key, "", text, EntryTextCapacity, path);
}

void WriteText(const char *section, const char *key, const char *value, const char *path)
{
    if (HasPath(path))
        WritePrivateProfileStringA(section, key, value, path);
}

void WriteInteger(const char *section, const char *key, int32_t value, const char *path)
{
    char text[KeyCapacity];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    WriteText(section, key, text, path);
}

/*
 * A stored count goes into the record as the profile reader yields it, except
 * a negative one, which no typed entry could give: it is shown as a rejected
 * entry and keeps the seat empty, so it never reaches a calculation.
 */
void LoadSeat(WindowHandle mainWindow, int32_t seat)
{
    const int32_t index = seat - 1;
    const int32_t chips = ReadInteger(ChipsSection, MakeNumberedKey("Chip", seat).Text, 0,
                                      TournamentState.SettingsPath);
    TournamentState.PlayerChips[index] = chips < 0 ? 0 : chips;
    TournamentState.ChipEntryInvalid[index] = chips < 0 ? 1 : 0;
    if (mainWindow == nullptr)
        return;
    char text[KeyCapacity];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(chips));
    const int editId = IDC_CHIPS_FIRST - 1 + seat;
    SetDlgItemTextA(mainWindow, editId, text);
    SendDlgItemMessageA(mainWindow, editId, EM_LIMITTEXT, ChipEntryLimit, 0);
}

} // namespace

void MakeSettingsPath(ModuleHandle instance, char *path)
{
    char moduleName[PathCapacity];
    const DWORD length = GetModuleFileNameA(instance, moduleName, PathCapacity);
    // A name that fills the buffer was cut (and may lack its terminator).
    if (length == 0 || length >= PathCapacity)
        moduleName[0] = '\0';
    SettingsPathForModule(moduleName, path);
}

void LoadSettings(WindowHandle mainWindow)
{
    const int32_t stored =
        ReadInteger(CommonSection, "PlayerCount", StartPlayerCount, TournamentState.SettingsPath);
    TournamentState.PlayerCount = stored == StartPlayerCount ? StartPlayerCount : OtherPlayerCount;
    LoadPayoutStructure(TournamentState.SettingsPath);
    for (int32_t seat = 1; seat <= SeatCount; ++seat)
        LoadSeat(mainWindow, seat);
}

/*
 * The ladder is taken from the file up to and including its first zero
 * place. A missing or rejected value keeps the place as it is in memory,
 * and reading goes on only while every place so far is positive in memory.
 */
void LoadPayoutStructure(const char *path)
{
    const int32_t players = ReadInteger(CommonSection, "InitPlayers", DefaultInitPlayers, path);
    TournamentState.InitPlayers = CheckBubblePlayers(players) ? players : DefaultInitPlayers;
    const int32_t chips = ReadInteger(CommonSection, "InitChips", DefaultInitChips, path);
    TournamentState.InitChips = CheckBubbleChips(chips) ? chips : DefaultInitChips;
    bool StillReading = true;
    for (int32_t place = 1; place <= PlaceCount; ++place)
    {
        const int32_t index = place - 1;
        char text[EntryTextCapacity];
        ReadText(MakeNumberedKey("Payout", place).Text, text, path);
        double value = 0.0;
        int32_t decimals = 0;
        if (ParsePayoutText(text, &value, &decimals) && StillReading)
        {
            TournamentState.Payouts[index] = value;
            TournamentState.PayoutDecimals[index] = decimals;
        }
        StillReading = StillReading && TournamentState.Payouts[index] > 0.0;
    }
}

void SavePayoutStructure(const char *path)
{
    WriteInteger(CommonSection, "InitPlayers", TournamentState.InitPlayers, path);
    WriteInteger(CommonSection, "InitChips", TournamentState.InitChips, path);
    for (int32_t place = 1; place <= PlaceCount; ++place)
    {
        char text[FixedTextCapacity];
        FormatFixed(text, sizeof text, TournamentState.Payouts[place - 1],
                    TournamentState.PayoutDecimals[place - 1]);
        WriteText(PayoutsSection, MakeNumberedKey("Payout", place).Text, text, path);
    }
}

void SaveSettings()
{
    const char *path = TournamentState.SettingsPath;
    if (!HasPath(path))
        return;
    WriteInteger(CommonSection, "PlayerCount", TournamentState.PlayerCount, path);
    SavePayoutStructure(path);
    for (int32_t seat = 1; seat <= SeatCount; ++seat)
        WriteInteger(ChipsSection, MakeNumberedKey("Chip", seat).Text, TournamentState.PlayerChips[seat - 1],
                     path);
}
