/*
 * Rounds of nodes over threads: each thread computes a node and stores its
 * terms, then adds the stored terms of its share of the players in node
 * order. Threads are started for each schedule (one per nested level) and
 * meet at a barrier twice a round.
 */
#include "quadrature_threads.h"

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "quadrature_passes.h"

namespace ostrel
{
namespace quadrature
{
namespace
{

// Threads meet here between the computing and the adding of each round.
class Barrier
{
  public:
    void Reset(size_t parties)
    {
        Parties = parties;
    }

    void Wait()
    {
        std::unique_lock<std::mutex> lock(Mutex);
        const size_t generation = Generation;
        if (++Arrived == Parties)
        {
            Arrived = 0;
            ++Generation;
            Changed.notify_all();
            return;
        }
        Changed.wait(lock, [&] { return Generation != generation; });
    }

  private:
    std::mutex Mutex;
    std::condition_variable Changed;
    size_t Parties = 1;
    size_t Arrived = 0;
    size_t Generation = 0;
};

} // namespace

void ReportProgress(const QuadratureOptions &options, double done)
{
    if (options.Progress != nullptr)
        options.Progress(options.ProgressContext, done);
}

namespace
{

/*
 * With T threads, round r gives the schedule's node rT + t to thread t, which
 * stores its terms; then thread t adds every stored term of its share of the
 * players to the totals, node by node. Each total thus takes its terms in
 * node order, as a single thread adds them, and the results are the same for
 * any T.
 */
void RunThread(const Run &run, std::vector<Workspace> &work, size_t threads, const Totals &totals,
               Barrier &barrier, const QuadratureOptions &options, const Schedule &schedule, size_t thread)
{
    const size_t n = run.InPlay->Stack.size();
    const size_t nodes = schedule.Count;
    const size_t columns = run.Outputs;
    const auto evaluate = run.Hands != nullptr                      ? EvaluateRowNode
                          : run.Pass == QuadraturePass::ProductTree ? EvaluateTreeNode
                          : run.Pass == QuadraturePass::Windowed    ? EvaluateWindowedNode
                                                                    : EvaluateBandNode;
    for (size_t first = 0; first < nodes; first += threads)
    {
        if (threads == 1)
        {
            evaluate(run, work[0], schedule.Node(first), {totals.Equity, totals.Finish, totals.Seat, true});
            ReportProgress(options, schedule.Done(first + 1));
            continue;
        }
        Workspace &mine = work[thread];
        if (first + thread < nodes)
            evaluate(run, mine, schedule.Node(first + thread),
                     {mine.Equity.data(), mine.Finish.data(), nullptr, false});
        barrier.Wait();
        const size_t count = std::min(threads, nodes - first);
        for (size_t i = n * thread / threads; i < n * (thread + 1) / threads; ++i)
        {
            const size_t seat = totals.Seat[i];
            for (size_t t = 0; t < count; ++t)
            {
                totals.Equity[seat] += work[t].Equity[i];
                for (size_t place = 0; place < columns; ++place)
                    totals.Finish[seat * columns + place] += work[t].Finish[i * columns + place];
            }
        }
        barrier.Wait();
        if (thread == 0)
            ReportProgress(options, schedule.Done(first + count));
    }
}

// Helpers wait here until the calling thread knows how many of them started.
struct StartGate
{
    std::mutex Mutex;
    std::condition_variable Opened;
    bool Open = false;
    size_t Threads = 0;
};

void RunHelper(const Run &run, std::vector<Workspace> &work, const Totals &totals, Barrier &barrier,
               const QuadratureOptions &options, const Schedule &schedule, StartGate &gate, size_t thread)
{
    size_t threads = 0;
    {
        std::unique_lock<std::mutex> lock(gate.Mutex);
        gate.Opened.wait(lock, [&] { return gate.Open; });
        threads = gate.Threads;
    }
    RunThread(run, work, threads, totals, barrier, options, schedule, thread);
}

} // namespace

/*
 * The calling thread is thread 0. A helper that cannot be started leaves the
 * run to those that were: the results are the same.
 */
void RunAllThreads(const Run &run, std::vector<Workspace> &work, const Totals &totals,
                   const QuadratureOptions &options, const Schedule &schedule)
{
    Barrier barrier;
    StartGate gate;
    std::vector<std::thread> helpers;
    for (size_t thread = 1; thread < work.size(); ++thread)
    {
        try
        {
            helpers.emplace_back(RunHelper, std::cref(run), std::ref(work), std::cref(totals),
                                 std::ref(barrier), std::cref(options), std::cref(schedule), std::ref(gate), thread);
        }
        catch (const std::system_error &)
        {
            break;
        }
    }
    const size_t threads = helpers.size() + 1;
    barrier.Reset(threads);
    {
        std::lock_guard<std::mutex> lock(gate.Mutex);
        gate.Threads = threads;
        gate.Open = true;
    }
    gate.Opened.notify_all();
    RunThread(run, work, threads, totals, barrier, options, schedule, 0);
    for (std::thread &helper : helpers)
        helper.join();
}

} // namespace quadrature
} // namespace ostrel
