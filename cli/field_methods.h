/*
 * Which method computes a field, and running it: the window's own choice for
 * every field the window can take, so that its results are the window's to
 * the last bit, and the library's methods beyond it.
 */
#ifndef OSTREL_CLI_FIELD_METHODS_H
#define OSTREL_CLI_FIELD_METHODS_H

#include <string>
#include <vector>

#include "decisions.h"
#include "field.h"

namespace ostrel
{

enum class Method
{
    Automatic,
    Plain,
    Subsets,
};

struct FieldRun
{
    Status Outcome;
    Method Ran = Method::Plain;
    std::vector<double> Equity; // per seat
    FinishTable Finish;         // when asked for
    double Seconds = 0.0;
};

const char *MethodName(Method method);

// Whether the window could hold this field: at most 18 seats and 30 paid
// places, and every stack a 32-bit chip count.
bool WindowTakesField(const Field &field);

// $EV of every seat by `method`; Automatic picks as described above.
FieldRun RunEquity(const Field &field, Method method);

// The finish table (and the $EV) by the subset method.
FieldRun RunFinish(const Field &field);

// The methods that ran over a series of fields, named as in `method` fields:
// one name, or several joined by '+' when the fields took different ones.
struct MethodLog
{
    bool Ran[3] = {};
    std::string Names() const;
};

// Each field by RunEquity with `method`, noting in `log` what ran.
FieldEquity EquityBy(Method method, MethodLog &log);

} // namespace ostrel

#endif
