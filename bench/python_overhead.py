"""What the Python call adds to an 18-seat equity: ostrel.equity() against
the same request run by the request layer alone, in the same process and
the same compiled code (minimum over repeats, microseconds a call).

    .venv/bin/python bench/python_overhead.py
"""

import random
import timeit

import ostrel
from ostrel import _ostrel

CALLS = 2000
REPEATS = 7


def field(seed, prizes):
    rng = random.Random(seed)
    return [rng.randint(1000, 100000) for _ in range(18)], prizes


def per_call(function):
    return timeit.timeit(function, number=CALLS) / CALLS


def main():
    print("%-34s %10s %10s %10s" % ("18 seats", "C++ us", "Python us", "added us"))
    for name, prizes in (("3 places (the window's recursion)", [50, 30, 20]),
                         ("2 places", [65, 35]),
                         ("1 place", [100])):
        stacks, prizes = field(3, prizes)
        typed_stacks, typed_prizes = ",".join(map(str, stacks)), ",".join(map(str, prizes))
        # Each side's best of the repeats, taken in turns so that both meet
        # the same load: the noise of a shared machine only adds.
        native = python = float("inf")
        for _ in range(REPEATS):
            native = min(native, _ostrel.time_equity_request(typed_stacks, typed_prizes, CALLS))
            python = min(python, per_call(lambda: ostrel.equity(stacks, prizes)))
        print("%-34s %10.2f %10.2f %10.2f" % (name, native * 1e6, python * 1e6, (python - native) * 1e6))


if __name__ == "__main__":
    main()
