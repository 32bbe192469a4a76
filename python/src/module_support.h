/*
 * What the module's native functions share: a failed Status raised as
 * ValueError with the command's message, and a run with the GIL released
 * whose progress reports take the GIL back to call the caller's callback and
 * to check for Ctrl+C (which stops the run at its next report and is raised
 * as KeyboardInterrupt once the run has returned).
 */
#ifndef OSTREL_PYTHON_MODULE_SUPPORT_H
#define OSTREL_PYTHON_MODULE_SUPPORT_H

#include <pybind11/pybind11.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "field.h"
#include "run_progress.h"

namespace ostrel_python
{

namespace py = pybind11;

inline void Raise(const ostrel::Status &status)
{
    if (!status.Ok)
        throw py::value_error(status.Message);
}

inline void RaiseProblem(const std::string &problem)
{
    if (!problem.empty())
        throw py::value_error(problem);
}

// One run's callbacks. `callback` is None or a callable taking (done) for
// the field questions, (iterations, exploitability) for nash.
class Interruptible
{
  public:
    explicit Interruptible(py::object callback);

    ostrel::RunProgress Progress();

    // Runs `run` without the GIL, then raises what a callback raised (Ctrl+C
    // included) or the run's failure. A `serial` run, one that may value a
    // field by the window's computation, which keeps the window's one
    // tournament record, waits for any other such run of the process.
    template <typename Run> void Call(Run run, bool serial)
    {
        ostrel::Status status;
        {
            py::gil_scoped_release free; // first, so that a waiting thread holds no GIL
            std::unique_lock<std::mutex> alone(WindowRecord(), std::defer_lock);
            if (serial)
                alone.lock();
            status = run(Progress());
        }
        if (Error)
        {
            Error->restore();
            Error.reset();
            throw py::error_already_set();
        }
        Raise(status);
    }

    // Held by the runs that may use the window's computation.
    static std::mutex &WindowRecord()
    {
        static std::mutex record;
        return record;
    }

  private:
    // With the GIL held: false once the run is to stop.
    bool Proceed();
    bool Heard(const py::object &result);
    // Without the GIL: whether a report should take it to look for Ctrl+C,
    // at most every CheckEvery, so that a short run never waits for it.
    bool TimeToCheck();

    py::object Callback;
    std::optional<py::error_already_set> Error;
    bool StopAsked = false;             // the callback answered False
    std::atomic<bool> Stopping{false};  // Error or StopAsked, read without the GIL
    std::atomic<int64_t> LastCheck{0};  // steady clock, nanoseconds
    static constexpr int64_t CheckEvery = 50000000;
};

// spot, nash and the table they take (table_module.cpp).
void AddTableFunctions(py::module_ &module);

} // namespace ostrel_python

#endif
