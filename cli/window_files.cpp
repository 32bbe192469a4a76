/*
 * The window's reading rules over the profile text: each place's text goes
 * through the same entry rule as a typed prize, a missing or rejected place
 * keeps what the ladder held, and reading goes on only while the ladder is
 * positive. The ladder rule then keeps the places up to the first zero.
 */
#include "window_files.h"

#include <cstdio>
#include <cstring>

#include "number_entry.h"
#include "profile_text.h"

namespace ostrel
{
namespace
{

constexpr int32_t Places = 30;
constexpr int32_t Seats = 18;
constexpr size_t TextCapacity = 256;

std::string NumberedKey(const char *prefix, int32_t number)
{
    return prefix + std::to_string(number);
}

// Returns whether the file holds any place of a ladder.
bool ReadPlaces(const ProfileText &profile, double (&payouts)[Places])
{
    bool anyPlace = false;
    bool stillReading = true;
    for (int32_t place = 1; place <= Places; ++place)
    {
        std::string value;
        const std::string key = NumberedKey("Payout", place);
        anyPlace = ProfileString(profile, "payouts", key.c_str(), TextCapacity, value) || anyPlace;
        char text[TextCapacity] = {};
        std::memcpy(text, value.data(), value.size());
        double prize = 0.0;
        int32_t decimals = 0;
        if (ParsePayoutText(text, &prize, &decimals) && stillReading)
            payouts[place - 1] = prize;
        stillReading = stillReading && payouts[place - 1] > 0.0;
    }
    return anyPlace;
}

std::vector<double> LadderAfterRule(const double (&payouts)[Places])
{
    std::vector<double> prizes;
    for (int32_t place = 0; place < Places && payouts[place] > 0.0; ++place)
        prizes.push_back(payouts[place]);
    return prizes;
}

} // namespace

Status ReadPayoutStructure(const std::string &bytes, std::vector<double> &prizes)
{
    const ProfileText profile = ParseProfileText(bytes);
    double payouts[Places] = {};
    if (!ReadPlaces(profile, payouts))
        return Failure("not a payout structure file: it has no [payouts] section with Payout1 to Payout30");
    prizes = LadderAfterRule(payouts);
    return Status();
}

Status ReadSettings(const std::string &bytes, WindowSettings &settings)
{
    const ProfileText profile = ParseProfileText(bytes);
    std::string text;
    bool recognised = ProfileString(profile, "common", "PlayerCount", TextCapacity, text);
    settings.ShownSeats = ProfileInteger(profile, "common", "PlayerCount", 10) == 10 ? 10 : 18;
    double payouts[Places] = {250.0, 150.0, 100.0};
    recognised = ReadPlaces(profile, payouts) || recognised;
    settings.Prizes = LadderAfterRule(payouts);
    settings.Stacks.assign(static_cast<size_t>(settings.ShownSeats), 0);
    for (int32_t seat = 1; seat <= Seats; ++seat)
    {
        const std::string key = NumberedKey("Chip", seat);
        recognised = ProfileString(profile, "chips", key.c_str(), TextCapacity, text) || recognised;
        const int32_t chips = ProfileInteger(profile, "chips", key.c_str(), 0);
        if (chips < 0)
            return Failure("seat " + std::to_string(seat) + " holds a negative chip count (" +
                           std::to_string(chips) + ")");
        if (seat <= settings.ShownSeats)
            settings.Stacks[static_cast<size_t>(seat - 1)] = chips;
    }
    if (!recognised)
        return Failure("not a settings file: it has none of PlayerCount, Payout1 to Payout30, Chip1 to Chip18");
    return Status();
}

} // namespace ostrel
