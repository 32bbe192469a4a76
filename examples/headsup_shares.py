"""Heads-up push or fold at equilibrium, by stack depth: the share of the
1,326 hands the small blind shoves and the big blind calls with, for
stacks of 2 to 25 big blinds (chip EV, no ante), drawn to a PNG.

    python examples/headsup_shares.py [docs/images/headsup-shares.png]
"""

import sys

import matplotlib

matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import ostrel  # noqa: E402

BIG_BLIND = 100


def shares(depth):
    """(shove share, call share) at `depth` big blinds each."""
    stack = int(round(depth * BIG_BLIND))
    table = ostrel.Table([stack, stack], button=1, blinds=(BIG_BLIND // 2, BIG_BLIND))
    answer = ostrel.nash(table)
    return answer.decision(1, "shove").share, answer.decision(2, "call", versus=[1]).share


def main(path):
    depths = np.arange(2.0, 25.01, 0.5)
    shoves, calls = zip(*(shares(depth) for depth in depths))
    figure, axes = plt.subplots(figsize=(7, 4.2), dpi=110)
    axes.plot(depths, np.array(shoves) * 100, label="small blind shoves", color="#c0392b", linewidth=2)
    axes.plot(depths, np.array(calls) * 100, label="big blind calls", color="#2471a3", linewidth=2)
    axes.set_xlabel("effective stack (big blinds)")
    axes.set_ylabel("share of the 1,326 hands (%)")
    axes.set_title("Heads-up push or fold at equilibrium (chip EV, no ante)")
    axes.set_xlim(2, 25)
    axes.set_ylim(0, 102)
    axes.grid(True, alpha=0.3)
    axes.legend()
    figure.tight_layout()
    figure.savefig(path)
    print("wrote", path)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "docs/images/headsup-shares.png")
