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


def _listed(values):
    """A list option kept as given: None, the command's text, or a list."""
    return values if values is None or isinstance(values, str) else list(values)


class Table:
    """A push-or-fold table in whole chips: stacks before anyone posts
    (0 for an empty seat), the button's seat (from 1, or its position),
    the blinds (small, big), an ante from every player or a big blind's
    ante for the table, the prizes (None: chip EV) and the stacks at other
    tables. The command judges it when a question is asked of it.

        >>> t = ostrel.Table([5000, 3000, 2000], button=1, blinds=(100, 200), prizes=[50, 30, 20])

    In a knockout tournament, as the command's options of the same names:
    `bounties`, the bounty on each seat's head in seat order (in the prize
    unit); with players at other tables, their `others_bounties` or all the
    bounty money in play, `bounty_pool`; `bounty_share`, the share of a
    bounty paid in cash (None: 1, a knockout; 0.5 the usual progressive
    knockout); with chip EV, `chips_per_unit`, the chips one unit of bounty
    money is worth.

        >>> pko = ostrel.Table([1000, 500, 1500], button=1, blinds=(50, 100), prizes=[50, 30, 20],
        ...                    bounties=[10, 10, 10], bounty_share=0.5)
    """

    def __init__(self, stacks, button, blinds, ante=0, bb_ante=0, prizes=None, others=None, bounties=None,
                 others_bounties=None, bounty_pool=None, bounty_share=None, chips_per_unit=None):
        from . import _item, _typed  # lists and amounts as the command reads them

        self.stacks = list(stacks)
        self.button = button
        self.blinds = tuple(blinds)
        self.ante = ante
        self.bb_ante = bb_ante
        self.prizes = None if prizes is None else list(prizes)
        self.others = [] if others is None else list(others)
        self.bounties = _listed(bounties)
        self.others_bounties = _listed(others_bounties)
        self.bounty_pool = bounty_pool
        self.bounty_share = bounty_share
        self.chips_per_unit = chips_per_unit
        terms = _ostrel.TableTerms()
        terms.stacks = _typed(self.stacks)
        terms.button = str(button)
        terms.blinds = _typed(self.blinds)
        # An ante of 0 is no ante, as the option left out.
        terms.ante = _typed([ante]) if ante != 0 else None
        terms.bb_ante = _typed([bb_ante]) if bb_ante != 0 else None
        terms.prizes = None if prizes is None else _typed(self.prizes)
        terms.others = _typed(self.others) if self.others else None
        # The bounty options given, each as typed; None leaves one out.
        terms.bounties = None if bounties is None else _typed(self.bounties)
        terms.others_bounties = None if others_bounties is None else _typed(self.others_bounties)
        terms.bounty_pool = None if bounty_pool is None else _item(bounty_pool)
        terms.bounty_share = None if bounty_share is None else _item(bounty_share)
        terms.chips_per_unit = None if chips_per_unit is None else _item(chips_per_unit)
        self._terms = terms

    def __repr__(self):
        text = "Table(%r, button=%r, blinds=%r, ante=%r, bb_ante=%r, prizes=%r, others=%r" % (
            self.stacks, self.button, self.blinds, self.ante, self.bb_ante, self.prizes, self.others)
        for name in ("bounties", "others_bounties", "bounty_pool", "bounty_share", "chips_per_unit"):
            if getattr(self, name) is not None:
                text += ", %s=%r" % (name, getattr(self, name))
        return text + ")"


class Spot:
    """One seat's decision over every hand class: the JSON's `hero`,
    `position`, `action`, `pool`, `hands` (one dict per class), `range`
    (Range: the hands that play) and `range_share`; `difference` maps each
    class to playing less folding, `grid` draws it 13 x 13. With one hand
    asked, the JSON of its outcomes as attributes instead (with bounties,
    each outcome's `bounty_cash` and, facing a shove,
    `equity_needed_without_bounties`). Always `bounty_money`, the bounty
    money in play (0: none, the answer is as without bounties), and
    `bounty_share`, the share of a bounty paid in cash."""

    def __init__(self, answer, bounty_money=0.0, bounty_share=1.0):
        from . import Range

        self.bounty_money = bounty_money
        self.bounty_share = bounty_share
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
    (the shover's, or the callers'), or "nash" for the equilibrium's
    (a RuntimeWarning when that stopped above its tolerance; Ctrl+C stops
    it); `overcalls`, `shoves` likewise; `hand` one hand (AhKd) or class
    (AJo).

        >>> t = ostrel.Table([5000, 3000, 2000], button=1, blinds=(100, 200), prizes=[50, 30, 20])
        >>> str(ostrel.spot(t, "SB", ranges={"BB": "QQ+, AK"}).range)
        'random'
        >>> round(ostrel.spot(t, "SB", ranges={"BB": "QQ+, AK"}, hand="AhJd").difference, 3)
        1.021

    With bounties at the table (Table's `bounties`, `bounty_share`, ...),
    one hand's outcomes carry their `bounty_cash`, and facing a shove the
    equity a call needs with and without the bounties:

        >>> pko = ostrel.Table([1000, 500, 1500], button=1, blinds=(50, 100), prizes=[50, 30, 20],
        ...                    bounties=[10, 10, 10], bounty_share=0.5)
        >>> s = ostrel.spot(pko, 3, action="call", shover=2, ranges={2: "50%"}, hand="Qh5h")
        >>> round(s.equity_needed, 4), round(s.equity_needed_without_bounties, 4), s.bounty_money
        (0.3769, 0.4167, 30)
        >>> [outcome["bounty_cash"] for outcome in s.play]
        [0, 5, 0]
    """
    from . import _count, _warn

    nash_ranges = isinstance(ranges, str) and ranges == "nash"
    text, notes, bounty_money, bounty_share = _ostrel.spot(
        table._terms, None if hero is None else str(hero), action, None if shover is None else str(shover),
        None if caller is None else str(caller), [] if nash_ranges else _spot_ranges(ranges), _spot_ranges(overcalls),
        _spot_ranges(shoves), nash_ranges, hand, _count(draws), _count(seed), _count(threads))
    _warn(notes)
    return Spot(json.loads(text), bounty_money, bounty_share)


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
    `hand_loss_noise`; `bounty_money` in play (0: none) and `bounty_share`,
    the share of a bounty paid in cash, as the command's table heads its
    answer with them."""

    def __init__(self, answer, bounty_money=0.0, bounty_share=1.0):
        self.bounty_money = bounty_money
        self.bounty_share = bounty_share
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

    With bounties on the table's heads, the answer's values count them
    (`seats`' $EV, the decisions' EVs) and it carries the bounty money:

        >>> ko = ostrel.Table([3000, 2000], button=1, blinds=(100, 200), prizes=[70, 30], bounties=[25, 25])
        >>> ko_answer = ostrel.nash(ko)
        >>> ko_answer.bounty_money, ko_answer.bounty_share
        (50.0, 1.0)
    """
    from . import _count, _warn

    text, notes, bounty_money, bounty_share = _ostrel.nash(
        table._terms, None if tolerance is None else repr(float(tolerance)), _count(max_iterations), _count(draws),
        _count(seed), _count(threads), progress)
    _warn(notes)
    return Nash(json.loads(text), bounty_money, bounty_share)
