/*
 * The ostrel module's native part for a push-or-fold table: `spot` and
 * `nash`. The table comes as the command's options would have it typed
 * (the Python Table writes them); each function reads and judges it and its
 * own options in the command's order through the request layer and
 * answers with the command's JSON.
 */
#include <pybind11/stl.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bounty_input.h"
#include "choice_text.h"
#include "field_input.h"
#include "module_support.h"
#include "nash_request.h"
#include "number_text.h"
#include "positions.h"
#include "spot_request.h"
#include "table_typed.h"

namespace ostrel_python
{

using namespace ostrel;

namespace
{

// The table as typed for the command's options, each optional one empty
// when not given.
struct TableTerms
{
    std::string Stacks, Button, Blinds;
    std::optional<std::string> Ante, BigBlindAnte;
    std::optional<std::string> Prizes; // none: chip EV
    std::optional<std::string> Others;
    BountyTyped Bounty; // --bounties, --others-bounties, --bounty-pool, --bounty-share, --chips-per-unit
};

// The table read in the command's order (table_options.cpp, ReadTable):
// the field (a placeholder ladder with chip EV), whole stacks, the bounty
// options, the other tables, the button, one kind of ante, the blinds, the
// ante. The bounties are judged with the question (CheckBountyInput).
HandField TableOf(const TableTerms &terms, BountyInput &bounty)
{
    FieldInput read;
    Raise(ReadStacksTyped(terms.Stacks, read));
    Raise(ReadPrizesTyped(terms.Prizes ? *terms.Prizes : "0", "", read));
    Raise(CheckFieldInput(read));
    Raise(CheckWholeTableStacks(read));
    HandField field;
    field.Table.Stacks = read.Stacks;
    Raise(ReadBountyTyped(terms.Bounty, bounty));
    if (terms.Prizes)
        field.Prizes = read.Prizes;
    if (terms.Others)
        Raise(ReadOthersTyped(*terms.Others, field.Others));
    Raise(ParseSeat("--button", terms.Button, std::vector<std::string>(read.Stacks.size()), field.Table.Button));
    Raise(CheckAnteKinds(terms.Ante.has_value(), terms.BigBlindAnte.has_value()));
    Raise(ParseBlinds(terms.Blinds, field.Table.SmallBlind, field.Table.BigBlind));
    if (terms.Ante)
        Raise(ParseChips("--ante", *terms.Ante, field.Table.Ante));
    if (terms.BigBlindAnte)
    {
        Raise(ParseChips("--bb-ante", *terms.BigBlindAnte, field.Table.Ante));
        field.Table.BigBlindAnte = true;
    }
    return field;
}

int64_t CountOf(const char *option, const std::string &text, int64_t low, int64_t high, const char *what)
{
    int64_t value = 0;
    RaiseProblem(ReadCount(option, text, low, high, what, value));
    return value;
}

constexpr int64_t MostSeed = std::numeric_limits<int64_t>::max();

py::tuple Spot(const TableTerms &terms, const std::optional<std::string> &hero, const std::string &action,
                 const std::optional<std::string> &shover, const std::optional<std::string> &caller,
                 const std::vector<std::string> &ranges, const std::vector<std::string> &overcalls,
                 const std::vector<std::string> &shoves, bool nashRanges, const std::optional<std::string> &hand,
                 const std::optional<std::string> &draws, const std::optional<std::string> &seed,
                 const std::optional<std::string> &threads)
{
    RaiseProblem(CheckChoice("--action", action, {"first-in", "call", "overcall"}));
    SpotRequest request;
    request.Hero = hero;
    if (!hero)
        Raise(CheckSpotRequest(request));
    request.Table = TableOf(terms, request.Bounty);
    request.ChipEv = !terms.Prizes;
    request.Action = action == "call" ? SpotAction::Call : action == "overcall" ? SpotAction::Overcall
                                                                                : SpotAction::FirstIn;
    request.Shover = shover;
    request.Caller = caller;
    request.Ranges = ranges;
    request.Overcalls = overcalls;
    request.Shoves = shoves;
    if (draws)
        request.Draws = static_cast<uint64_t>(CountOf("--draws", *draws, 1, 10000000, "a number of showdowns"));
    if (seed)
        request.Seed = static_cast<uint64_t>(CountOf("--seed", *seed, 0, MostSeed, "a seed"));
    request.NashRanges = nashRanges;
    request.Hand = hand;
    if (threads)
        request.Threads = static_cast<unsigned>(CountOf("--threads", *threads, 1, 256, "a thread count"));
    SpotReply reply;
    // Valued by the subsets up to 20 players, beyond any window's field;
    // Ctrl+C stops the equilibrium of ranges="nash".
    Interruptible run{py::none()};
    run.Call([&](const RunProgress &heard) { return RunSpotRequest(request, heard, reply); }, false);
    // The bounty money in play and the share paid in cash beside the JSON,
    // which gives them with one hand's outcomes only.
    return py::make_tuple(WriteSpotReply(reply, Format::Json), reply.Warnings, reply.Bounty.InPlay,
                          reply.Bounty.CashShare);
}

py::tuple Nash(const TableTerms &terms, const std::optional<std::string> &tolerance,
               const std::string &maxIterations, const std::string &draws, const std::string &seed,
               const std::optional<std::string> &threads, py::object progress)
{
    NashRequest request;
    request.MaxIterations = static_cast<uint64_t>(
        CountOf("--max-iterations", maxIterations, 1, NashMostIterations, "a number of iterations"));
    request.Draws = static_cast<uint32_t>(CountOf("--draws", draws, 1, NashMostDraws, "a number of showdowns"));
    request.Seed = static_cast<uint64_t>(CountOf("--seed", seed, 0, MostSeed, "a seed"));
    if (threads)
        request.Threads = static_cast<unsigned>(CountOf("--threads", *threads, 1, 256, "a thread count"));
    if (tolerance)
        Raise(ReadTolerance(*tolerance, request.Tolerance));
    request.Table = TableOf(terms, request.Bounty);
    request.ChipEv = !terms.Prizes;
    NashReply reply;
    Interruptible run(std::move(progress));
    // Valued by the subsets up to 20 players, beyond any window's field.
    run.Call([&](const RunProgress &heard) { return RunNashRequest(request, heard, reply); }, false);
    const Bounties &bounties = reply.Table.Bounty;
    return py::make_tuple(WriteNashReply(reply, Format::Json), reply.Warnings, bounties.InPlay, bounties.CashShare);
}

} // namespace

void AddTableFunctions(py::module_ &module)
{
    py::class_<TableTerms> terms(module, "TableTerms");
    terms.def(py::init<>())
        .def_readwrite("stacks", &TableTerms::Stacks)
        .def_readwrite("button", &TableTerms::Button)
        .def_readwrite("blinds", &TableTerms::Blinds)
        .def_readwrite("ante", &TableTerms::Ante)
        .def_readwrite("bb_ante", &TableTerms::BigBlindAnte)
        .def_readwrite("prizes", &TableTerms::Prizes)
        .def_readwrite("others", &TableTerms::Others);
    // The bounty options as typed, one attribute each.
    const std::pair<const char *, std::optional<std::string> BountyTyped::*> bountyFields[] = {
        {"bounties", &BountyTyped::OnHead},    {"others_bounties", &BountyTyped::Others},
        {"bounty_pool", &BountyTyped::Pool},   {"bounty_share", &BountyTyped::Share},
        {"chips_per_unit", &BountyTyped::ChipsPerUnit},
    };
    for (const auto &[name, field] : bountyFields)
        terms.def_property(
            name, [field = field](const TableTerms &t) { return t.Bounty.*field; },
            [field = field](TableTerms &t, const std::optional<std::string> &text) { t.Bounty.*field = text; });
    module.def("spot", &Spot, py::arg("table"), py::arg("hero"), py::arg("action"), py::arg("shover"),
               py::arg("caller"), py::arg("ranges"), py::arg("overcalls"), py::arg("shoves"),
               py::arg("nash_ranges"), py::arg("hand"), py::arg("draws"), py::arg("seed"), py::arg("threads"));
    module.def("nash", &Nash, py::arg("table"), py::arg("tolerance"), py::arg("max_iterations"), py::arg("draws"),
               py::arg("seed"), py::arg("threads"), py::arg("progress"));
}

} // namespace ostrel_python
