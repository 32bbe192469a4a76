"""Push or fold at a table: the table, one seat's spot and the equilibrium,
answered with the command's JSON fields (ranges as Range, frequencies as a
class -> value mapping and as a 13 x 13 grid)."""

import json

import numpy as np

from . import _ostrel

_RANKS = "AKQJT98765432"


def grid_of(values):
    """A class -> value mapping as the 13 x 13 grid players draw: pairs on
    the diagonal, suited hands above it (row: the higher rank), offsuit
    below it (column: the higher rank); NaN where a class has no value.

        >>> grid_of({"AKs": 1.0})[0, 1]
        1.0
    """
    grid = np.full((13, 13), np.nan)
    for name, value in values.items():
        high, low = _RANKS.index(name[0]), _RANKS.index(name[1])
        row, column = (low, high) if name.endswith("o") else (high, low)
        grid[row, column] = np.nan if value is None else value
    return grid


class Table:
    """A push-or-fold table in whole chips: stacks before anyone posts
    (0 for an empty seat), the button's seat (from 1, or its position),
    the blinds (small, big), an ante from every player or a big blind's
    ante for the table, the prizes (None: chip EV) and the stacks at other
    tables. The command judges it when a question is asked of it.

        >>> t = ostrel.Table([5000, 3000, 2000], button=1, blinds=(100, 200), prizes=[50, 30, 20])
    """

    def __init__(self, stacks, button, blinds, ante=0, bb_ante=0, prizes=None, others=None):
        from . import _typed  # lists as the command reads them

        self.stacks = list(stacks)
        self.button = button
        self.blinds = tuple(blinds)
        self.ante = ante
        self.bb_ante = bb_ante
        self.prizes = None if prizes is None else list(prizes)
        self.others = [] if others is None else list(others)
        terms = _ostrel.TableTerms()
        terms.stacks = _typed(self.stacks)
        terms.button = str(button)
        terms.blinds = _typed(self.blinds)
        # An ante of 0 is no ante, as the option left out.
        terms.ante = _typed([ante]) if ante != 0 else None
        terms.bb_ante = _typed([bb_ante]) if bb_ante != 0 else None
        terms.prizes = None if prizes is None else _typed(self.prizes)
        terms.others = _typed(self.others) if self.others else None
        self._terms = terms

    def __repr__(self):
        return "Table(%r, button=%r, blinds=%r, ante=%r, bb_ante=%r, prizes=%r, others=%r)" % (
            self.stacks, self.button, self.blinds, self.ante, self.bb_ante, self.prizes, self.others)


class Spot:
    """One seat's decision over every hand class: the JSON's `hero`,
    `position`, `action`, `pool`, `hands` (one dict per class), `range`
    (Range: the hands that play) and `range_share`; `difference` maps each
    class to playing less folding, `grid` draws it 13 x 13. With one hand
    asked, the JSON of its outcomes as attributes instead."""

    def __init__(self, answer):
        from . import Range

        self.__dict__.update(answer)
        if "range" in answer:
            self.range = Range(answer["range"])
        if "hands" in answer:
            self.difference = {h["hand"]: h["difference"] for h in answer["hands"]}
            self.grid = grid_of(self.difference)

    def __repr__(self):
        return "Spot(hero=%r, action=%r, range=%r)" % (self.hero, self.action, str(getattr(self, "range", "")))


def _spot_ranges(ranges):
    """{seat: range} or "SEAT=RANGE" items as the command takes them."""
    if ranges is None:
        return []
    if isinstance(ranges, dict):
        return ["%s=%s" % (seat, getattr(r, "text", r)) for seat, r in ranges.items()]
    return list(ranges)


def spot(table, hero, action="first-in", ranges=None, shover=None, caller=None, overcalls=None, shoves=None,
         hand=None, draws=None, seed=None, threads=None):
    """Push or fold for `hero` (a seat from 1 or a position) at `table`:
    `action` "first-in", "call" (a shove from `shover`) or "overcall"
    (`shover` and `caller`). `ranges`: {seat: range} of the other players
    (the shover's, or the callers'), or "nash" for the equilibrium's;
    `overcalls`, `shoves` likewise; `hand` one hand (AhKd) or class (AJo).

        >>> t = ostrel.Table([5000, 3000, 2000], button=1, blinds=(100, 200), prizes=[50, 30, 20])
        >>> str(ostrel.spot(t, "SB", ranges={"BB": "QQ+, AK"}).range)
        'random'
        >>> round(ostrel.spot(t, "SB", ranges={"BB": "QQ+, AK"}, hand="AhJd").difference, 3)
        1.021
    """
    from . import _count

    nash_ranges = isinstance(ranges, str) and ranges == "nash"
    text = _ostrel.spot(table._terms, None if hero is None else str(hero), action,
                        None if shover is None else str(shover), None if caller is None else str(caller),
                        [] if nash_ranges else _spot_ranges(ranges), _spot_ranges(overcalls), _spot_ranges(shoves),
                        nash_ranges, hand, _count(draws), _count(seed), _count(threads))
    return Spot(json.loads(text))


class Decision:
    """One decision of the equilibrium: `seat`, `position`, `action`
    ("shove", "call" or "overcall"), `versus` (the seats acted before),
    `range` (Range), `share`, `frequencies` (class -> frequency), `grid`
    (the frequencies 13 x 13), `ev_play`, `ev_fold` (class -> value, None
    where never reached) and `reached`."""

    def __init__(self, answer):
        from . import Range

        self.__dict__.update(answer)
        self.range = Range(answer["range"])  # "" for a decision never taken
        self.grid = grid_of(self.frequencies)

    def __repr__(self):
        return "Decision(seat=%r, action=%r, range=%r)" % (self.seat, self.action, str(self.range))


class Nash:
    """The equilibrium: the JSON's `exploitability`, `iterations`, `seats`
    (dicts), `decisions` (Decision), `three_way_error`, `max_hand_loss` and
    `hand_loss_noise`."""

    def __init__(self, answer):
        self.__dict__.update(answer)
        self.decisions = [Decision(d) for d in answer["decisions"]]

    def decision(self, seat, action="shove", versus=()):
        """The decision of `seat` (from 1) for `action` after `versus`."""
        for d in self.decisions:
            if d.seat == seat and d.action == action and list(d.versus) == list(versus):
                return d
        raise KeyError((seat, action, tuple(versus)))

    def __repr__(self):
        return "Nash(iterations=%r, exploitability=%r, decisions=%d)" % (
            self.iterations, self.exploitability, len(self.decisions))


def nash(table, tolerance=None, threads=None, progress=None, max_iterations=100000, draws=2400, seed=1):
    """The push-or-fold equilibrium of `table` (at most 10 players).
    progress(iterations, exploitability) is called after each round;
    returning False stops the run (ValueError), as Ctrl+C does
    (KeyboardInterrupt).

        >>> t = ostrel.Table([3000, 2000], button=1, blinds=(100, 200), prizes=[70, 30])
        >>> ostrel.nash(t).decision(1).share > 0.5
        True
    """
    from . import _count, _warn

    text, notes = _ostrel.nash(table._terms, None if tolerance is None else repr(float(tolerance)),
                               _count(max_iterations), _count(draws), _count(seed), _count(threads), progress)
    _warn(notes)
    return Nash(json.loads(text))
