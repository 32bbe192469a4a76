/*
 * The ostrel module's native part for the field questions (equity, finish,
 * deal, bubble factors) and the cards (ranges, all-in equity). The Python
 * part hands over the arguments in the command's terms (lists as the text
 * typed after --stacks and --prizes, names, counts as text); each function
 * judges them in the command's order through the request layer, runs the
 * request with the GIL released and answers with the command's JSON, the
 * shortest text of every double, so that Python reads the very doubles the
 * command writes. $EV alone comes back as the doubles themselves, the
 * quickest way for the most frequent question.
 */
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <thread>

#include "allin_request.h"
#include "bounty_input.h"
#include "bubble_request.h"
#include "choice_text.h"
#include "deal_amounts.h"
#include "deal_request.h"
#include "equity_request.h"
#include "module_support.h"
#include "number_lists.h"
#include "number_text.h"
#include "card.h"
#include "hand_class.h"
#include "range.h"

namespace ostrel_python
{

using namespace ostrel;

bool Interruptible::Heard(const py::object &result)
{
    // A callback may answer False to stop the run, as Ctrl+C does.
    return result.is_none() || py::bool_(result);
}

namespace
{

int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

Interruptible::Interruptible(py::object callback) : Callback(std::move(callback)), LastCheck(Now())
{
}

bool Interruptible::TimeToCheck()
{
    int64_t last = LastCheck.load();
    const int64_t now = Now();
    return now - last >= CheckEvery && LastCheck.compare_exchange_strong(last, now);
}

bool Interruptible::Proceed()
{
    if (Error || StopAsked)
        return false;
    if (PyErr_CheckSignals() != 0)
    {
        Error.emplace();
        Stopping = true;
        return false;
    }
    return true;
}

RunProgress Interruptible::Progress()
{
    RunProgress progress;
    // Callback is set before the run and never changes: is_none() needs no GIL.
    progress.Done = [this](double done) {
        if (Stopping)
            return false;
        if (Callback.is_none() && !TimeToCheck())
            return true;
        py::gil_scoped_acquire held;
        if (!Proceed())
            return false;
        if (Callback.is_none())
            return true;
        try
        {
            StopAsked = !Heard(Callback(done));
        }
        catch (py::error_already_set &error)
        {
            error.restore();
            Error.emplace();
        }
        Stopping = Error || StopAsked;
        return !Stopping;
    };
    progress.Rounds = [this](uint64_t rounds, double exploitability, double) {
        py::gil_scoped_acquire held;
        if (Error || Callback.is_none())
            return;
        try
        {
            StopAsked = StopAsked || !Heard(Callback(rounds, exploitability));
        }
        catch (py::error_already_set &error)
        {
            error.restore();
            Error.emplace();
        }
        Stopping = Error || StopAsked;
    };
    progress.Proceed = [this]() {
        if (Stopping)
            return false;
        if (!TimeToCheck())
            return true;
        py::gil_scoped_acquire held;
        return Proceed();
    };
    return progress;
}

namespace
{

Method MethodOf(const std::string &name)
{
    RaiseProblem(CheckChoice("--method", name, {"auto", "plain", "subsets", "quadrature"}));
    Method method = Method::Automatic;
    MethodNamed(name, method);
    return method;
}

// A count typed for `option`, as the command reads it.
int64_t CountOf(const char *option, const std::string &text, int64_t low, int64_t high, const char *what)
{
    int64_t value = 0;
    RaiseProblem(ReadCount(option, text, low, high, what, value));
    return value;
}

unsigned ThreadsOf(const std::optional<std::string> &threads)
{
    return threads ? static_cast<unsigned>(CountOf("--threads", *threads, 1, 256, "a thread count")) : 0;
}

// The command's ReadFieldInput for typed lists: the stacks, the prizes, then
// the field as a whole.
void ReadField(const std::string &stacks, const std::string &prizes, FieldInput &field)
{
    Raise(ReadStacksTyped(stacks, field));
    Raise(ReadPrizesTyped(prizes, "", field));
    Raise(CheckFieldInput(field));
}

py::array_t<double> ArrayOf(const std::vector<double> &values)
{
    py::array_t<double> array(static_cast<py::ssize_t>(values.size()));
    std::copy(values.begin(), values.end(), array.mutable_data());
    return array;
}

// --bounties and --bounty-pool as typed, for equity and deal.
BountyTyped FieldBountyTyped(const std::optional<std::string> &bounties, const std::optional<std::string> &pool)
{
    BountyTyped typed;
    typed.OnHead = bounties;
    typed.Pool = pool;
    return typed;
}

// $EV as doubles; the JSON for finish, and for $EV with bounty options
// given (its bounty and total $EV).
py::tuple Equity(const std::string &stacks, const std::string &prizes, const std::string &method,
                 const std::optional<std::string> &threads, bool finish, const std::optional<std::string> &places,
                 const std::optional<std::string> &bounties, const std::optional<std::string> &bountyPool,
                 py::object progress)
{
    EquityRequest request;
    request.Using = MethodOf(method);
    request.Threads = ThreadsOf(threads);
    ReadField(stacks, prizes, request.Field);
    Raise(ReadBountyTyped(FieldBountyTyped(bounties, bountyPool), request.Bounty));
    if (finish && places)
        request.Places = static_cast<size_t>(CountOf("--places", *places, 1, MaxPlayers, "a number of places"));
    request.Finish = finish;
    EquityAnswer answer;
    Interruptible run(std::move(progress));
    run.Call([&](const RunProgress &heard) { return RunEquityRequest(request, heard, answer); }, true);
    if (finish || bounties || bountyPool)
        return py::make_tuple(WriteEquityAnswer(answer, Format::Json), answer.Notes.Warnings);
    return py::make_tuple(ArrayOf(answer.Run.Equity), answer.Notes.Warnings);
}

py::tuple DealOf(const std::string &stacks, const std::string &prizes, const std::string &split,
                 const std::string &keep, const std::optional<std::string> &round,
                 const std::optional<std::string> &bounties, const std::optional<std::string> &bountyPool,
                 bool dealBounties, const std::string &method, const std::optional<std::string> &threads,
                 py::object progress)
{
    DealRequest request;
    request.Using = MethodOf(method);
    request.Threads = ThreadsOf(threads);
    RaiseProblem(CheckChoice("--split", split, {"icm", "chip", "even"}));
    DealTerms &terms = request.Terms;
    terms.Split = split == "chip" ? DealSplit::Chip : split == "even" ? DealSplit::Even : DealSplit::Icm;
    const std::string keepProblem = ParsePrize(keep, terms.Keep);
    if (!keepProblem.empty())
        RaiseProblem("--keep: " + keepProblem);
    request.KeepTyped = keep;
    if (round)
        Raise(ParseRoundingUnit(*round, terms.Round));
    Raise(ReadStacksTyped(stacks, request.Field));
    Raise(ReadPrizesTyped(prizes, "", request.Field));
    Raise(CheckFieldInput(request.Field));
    Raise(ReadBountyTyped(FieldBountyTyped(bounties, bountyPool), request.Bounty));
    request.DealBounties = dealBounties;
    Raise(CheckDealRequest(request));
    if (round)
        Raise(CheckExactAmounts(keep, true, prizes, "", request.Field.Prizes));
    DealAnswer answer;
    Interruptible run(std::move(progress));
    run.Call([&](const RunProgress &heard) { return RunDealRequest(request, heard, answer); }, true);
    return py::make_tuple(WriteDealAnswer(answer, Format::Json), answer.Notes.Warnings);
}

py::tuple Bubble(const std::string &stacks, const std::string &prizes, const std::optional<std::string> &seat,
                 const std::string &method, const std::optional<std::string> &threads, py::object progress)
{
    BubbleRequest request;
    request.Using = MethodOf(method);
    request.Threads = ThreadsOf(threads);
    ReadField(stacks, prizes, request.Field);
    request.OneRow = seat.has_value();
    if (seat)
    {
        request.Seat = static_cast<size_t>(
            CountOf("--seat", *seat, 1, static_cast<int64_t>(request.Field.Stacks.size()), "a seat number") - 1);
        request.SeatTyped = *seat;
    }
    BubbleAnswer answer;
    Interruptible run(std::move(progress));
    run.Call([&](const RunProgress &heard) { return RunBubbleRequest(request, heard, answer); }, true);
    return py::make_tuple(WriteBubbleAnswer(answer, Format::Json), answer.Notes.Warnings);
}

// A range read as the command reads each player's: its shortest notation
// and its weight per combo, in the library's combo order.
py::tuple RangeOf(const std::string &text)
{
    cards::Range range;
    Raise(cards::ParseRange(text, range));
    const std::vector<double> weights(range.Weight.begin(), range.Weight.end());
    return py::make_tuple(cards::FormatRange(range), ArrayOf(weights));
}

std::vector<std::string> ClassNames()
{
    std::vector<std::string> names;
    for (int handClass = 0; handClass < cards::ClassCount; ++handClass)
        names.push_back(cards::ClassName(handClass));
    return names;
}

std::vector<int> ClassesOfCombos()
{
    std::vector<int> classes;
    for (int combo = 0; combo < cards::ComboCount; ++combo)
        classes.push_back(cards::ClassOfCombo(combo));
    return classes;
}

std::vector<std::string> ComboNames()
{
    std::vector<std::string> names;
    for (int combo = 0; combo < cards::ComboCount; ++combo)
    {
        const cards::Combo cards = cards::ComboCards(combo);
        names.push_back(cards::FormatCard(cards.High) + cards::FormatCard(cards.Low));
    }
    return names;
}

std::string Allin(const std::vector<std::string> &ranges, const std::string &board, const std::string &dead,
                  bool exact, const std::optional<std::string> &samples, const std::optional<std::string> &seed)
{
    // In the command's order: the sampling options with stand-ins for the
    // numbers, then each number as it is read.
    AllinRequest request;
    request.Exact = exact;
    request.Samples = samples ? cards::MinSamples : 0;
    if (seed)
        request.Seed = 1;
    Raise(CheckAllinSampling(request));
    if (samples)
    {
        request.Samples = static_cast<uint64_t>(
            CountOf("--samples", *samples, 1, 10000000000, "a number of showdowns"));
        Raise(CheckAllinSampling(request));
    }
    if (seed)
        request.Seed = static_cast<uint64_t>(
            CountOf("--seed", *seed, 0, std::numeric_limits<int64_t>::max(), "a seed"));
    request.Ranges = ranges;
    request.Board = board;
    request.Dead = dead;
    AllinAnswer answer;
    Status status;
    {
        py::gil_scoped_release free;
        status = RunAllinRequest(request, answer);
    }
    Raise(status);
    return WriteAllinAnswer(answer, Format::Json);
}

// The request layer alone on a field, `calls` times: the C++ caller's cost
// that bench/python_overhead.py sets the Python call beside. Seconds a call.
double TimeEquityRequest(const std::string &stacks, const std::string &prizes, int64_t calls)
{
    EquityRequest request;
    ReadField(stacks, prizes, request.Field);
    EquityAnswer answer;
    Status status;
    py::gil_scoped_release free;
    const std::lock_guard<std::mutex> alone(Interruptible::WindowRecord());
    const auto start = std::chrono::steady_clock::now();
    for (int64_t call = 0; call < calls && status.Ok; ++call)
        status = RunEquityRequest(request, RunProgress(), answer);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return status.Ok ? took.count() / static_cast<double>(std::max<int64_t>(calls, 1)) : -1.0;
}

} // namespace

} // namespace ostrel_python

PYBIND11_MODULE(_ostrel, module)
{
    using namespace ostrel_python;
    module.doc() = "The calculator's request layer; use the functions of the ostrel package.";
    module.def("equity", &Equity, py::arg("stacks"), py::arg("prizes"), py::arg("method"), py::arg("threads"),
               py::arg("finish"), py::arg("places"), py::arg("bounties"), py::arg("bounty_pool"),
               py::arg("progress"));
    module.def("deal", &DealOf, py::arg("stacks"), py::arg("prizes"), py::arg("split"), py::arg("keep"),
               py::arg("round"), py::arg("bounties"), py::arg("bounty_pool"), py::arg("deal_bounties"),
               py::arg("method"), py::arg("threads"), py::arg("progress"));
    module.def("bubble", &Bubble, py::arg("stacks"), py::arg("prizes"), py::arg("seat"), py::arg("method"),
               py::arg("threads"), py::arg("progress"));
    module.def("parse_range", &RangeOf, py::arg("text"));
    module.def("combo_names", &ComboNames);
    module.def("class_names", &ClassNames);
    module.def("classes_of_combos", &ClassesOfCombos);
    module.def("allin", &Allin, py::arg("ranges"), py::arg("board"), py::arg("dead"), py::arg("exact"),
               py::arg("samples"), py::arg("seed"));
    module.def("time_equity_request", &TimeEquityRequest, py::arg("stacks"), py::arg("prizes"), py::arg("calls"));
    AddTableFunctions(module);
}
