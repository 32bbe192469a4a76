"""Tournament equity, deals, bubble factors, all-in equity and push/fold
spots, as ``ostrel-icm`` answers them: the same requests, the same checks
and messages, the same doubles to the last bit.

    >>> import ostrel
    >>> ostrel.equity([5000, 3000, 2000], [50, 30, 20])
    array([38.39285714, 32.75      , 28.85714286])

Every function takes the command's options as keyword arguments with the
command's defaults; a wrong argument raises ValueError with the command's
message. Stacks are whole chip counts (a float with a whole value counts as
one), decimals (24.5, say big blinds: only proportions matter) or the
command's text ("2.45M"); prizes are amounts, place 1 first.
"""

import json
import math
import numbers
import warnings

import numpy as np

from . import _ostrel

__all__ = ["equity", "finish", "deal", "bubble_factors", "Range", "allin", "Table", "spot", "nash",
           "Equity", "Deal", "Allin", "Spot", "Nash", "Decision", "grid_of", "CLASS_NAMES", "COMBO_NAMES"]

# The 169 hand classes in the library's order ("AA", "AKs", ...) and the
# 1,326 combos ("AsAh", ...), the order of Range.weights.
CLASS_NAMES = tuple(_ostrel.class_names())
COMBO_NAMES = tuple(_ostrel.combo_names())
_CLASS_OF_COMBO = np.array(_ostrel.classes_of_combos())


def _item(value):
    """One list item as the command would have it typed."""
    if isinstance(value, bool):
        raise TypeError("a stack or prize is a number, not %r" % (value,))
    if isinstance(value, str):
        return value
    if isinstance(value, numbers.Integral):
        return str(int(value))
    if isinstance(value, numbers.Real):
        value = float(value)
        # A whole float is a chip count, as its integer would be typed.
        if math.isfinite(value) and value == int(value) and abs(value) < 2.0**63:
            return str(int(value))
        return repr(value)
    raise TypeError("a stack or prize is a number, not %r" % (value,))


def _typed(values):
    """A list as the command's comma-separated text."""
    if isinstance(values, str):
        return values
    if isinstance(values, (list, tuple)) and all(type(value) is int for value in values):
        return ",".join(map(str, values))  # the common case, quickly
    return ",".join(_item(value) for value in np.asarray(values, dtype=object).ravel())


def _count(value):
    """A count as typed: None stays unset, the command judges the rest."""
    if value is None:
        return None
    if isinstance(value, bool) or not isinstance(value, numbers.Integral):
        raise TypeError("a count is a whole number, not %r" % (value,))
    return str(int(value))


def _warn(notes):
    for note in notes:
        warnings.warn(note, RuntimeWarning, stacklevel=3)


def _number(value):
    return math.nan if value is None else value


def _typed_if(values):
    """A list option as typed, or None when not given."""
    return None if values is None else _typed(values)


def _item_if(value):
    """An amount option as typed, or None when not given."""
    return None if value is None else _item(value)


def _take_seats(into, answer, names):
    """An answer's fields onto `into`, its players' `names` (and seats,
    stacks and bounty $EV, 0 without bounties) as arrays; returns the
    players."""
    players = answer.pop("players")
    into.bounty_money = 0.0
    into.__dict__.update(answer)
    into.seats = np.array([p["seat"] for p in players])
    into.stacks = np.array([p["stack"] for p in players])
    for name in names:
        setattr(into, name, np.array([p[name] for p in players], dtype=float))
    into.bounty_ev = np.array([p.get("bounty_ev", 0.0) for p in players], dtype=float)
    return players


class Equity:
    """$EV with bounties: `equity` (the prizes'), `bounty_ev` (each seat's
    share of the bounty money in play, by its chips) and `total_ev` (their
    sum), `chip_share` and `pool_share`, one per seat (arrays), with `seats`,
    `stacks` and the JSON's `method`, `prize_pool` and `bounty_money`. With
    no bounty money in play, `bounty_ev` is 0 and `total_ev` is `equity`."""

    def __init__(self, answer):
        players = _take_seats(self, answer, ("chip_share", "equity", "pool_share"))
        self.total_ev = np.array([p.get("total_ev", p["equity"]) for p in players], dtype=float)

    def __repr__(self):
        return "Equity(equity=%r, bounty_ev=%r)" % (self.equity.tolist(), self.bounty_ev.tolist())


def equity(stacks, prizes, method="auto", threads=None, progress=None, bounties=None, bounty_pool=None):
    """Each seat's money expectation ($EV), one per seat (0 for an empty one).

    method: "auto", "plain", "subsets" or "quadrature"; threads: 1 to 256
    (None: one per core); progress: called with the share done (0 to 1),
    returning False stops the run.

        >>> ostrel.equity([5000, 3000, 2000], [50, 30, 20]).round(3)
        array([38.393, 32.75 , 28.857])

    In a knockout tournament, `bounties` (the bounty on each seat's head, in
    the prize unit) or `bounty_pool` (all the bounty money in play), as the
    command's --bounties and --bounty-pool: with either given the answer is
    an Equity, each seat's prize $EV with its bounty and total $EV.

        >>> e = ostrel.equity([5000, 3000, 2000], [50, 30, 20], bounties=[10, 10, 10])
        >>> e.bounty_ev, e.total_ev.round(3)
        (array([15.,  9.,  6.]), array([53.393, 41.75 , 34.857]))
    """
    bounty = bounties is not None or bounty_pool is not None
    answer, notes = _ostrel.equity(_typed(stacks), _typed(prizes), method, _count(threads), False, None,
                                   _typed_if(bounties), _item_if(bounty_pool), progress)
    _warn(notes)
    return Equity(json.loads(answer)) if bounty else answer


def finish(stacks, prizes, method="auto", threads=None, places=None, progress=None):
    """Each seat's chance of finishing in each place: seats x places.

        >>> ostrel.finish([5000, 3000, 2000], [50, 30, 20])[0]
        array([0.5       , 0.33928571, 0.16071429])
    """
    text, notes = _ostrel.equity(_typed(stacks), _typed(prizes), method, _count(threads), True, _count(places),
                                 None, None, progress)
    _warn(notes)
    return np.array([seat["places"] for seat in json.loads(text)["players"]], dtype=float)


class Deal:
    """A deal's answer: `payment`, `deal_value`, `equity` and `difference`
    per seat in play (arrays, in `seats` order), and the JSON's other
    fields (`split`, `method`, `prize_pool`, `kept_for_winner`). With the
    bounty money dealt too, `bounty_money` and each seat's share of it,
    `bounty_ev` (in its payment, deal value and $EV); 0 without."""

    def __init__(self, answer):
        _take_seats(self, answer, ("payment", "deal_value", "equity", "difference"))

    def __repr__(self):
        return "Deal(split=%r, payment=%r)" % (self.split, self.payment.tolist())


def deal(stacks, prizes, split="icm", keep=0, round=None, method="auto", threads=None, progress=None,
         bounties=None, bounty_pool=None, deal_bounties=False):
    """The money split now: by $EV ("icm"), by chips ("chip") or evenly
    ("even"), `keep` left on the table for the winner, payments in
    multiples of `round`.

        >>> ostrel.deal([5000, 3000, 2000], [50, 30, 20], round=1).payment
        array([38., 33., 29.])

    `bounties` or `bounty_pool` as for equity, with `deal_bounties=True`
    (--deal-bounties): each player's share of the bounty money by his
    chips is dealt too, added to his payment, deal value and $EV (rounding
    applies to the prizes).

        >>> d = ostrel.deal([5000, 3000, 2000], [50, 30, 20], round=1, bounties=[10, 10, 10], deal_bounties=True)
        >>> d.payment, d.bounty_ev
        (array([53., 42., 35.]), array([15.,  9.,  6.]))
    """
    text, notes = _ostrel.deal(_typed(stacks), _typed(prizes), split, _item(keep),
                               None if round is None else _item(round), _typed_if(bounties), _item_if(bounty_pool),
                               bool(deal_bounties), method, _count(threads), progress)
    _warn(notes)
    return Deal(json.loads(text))


def bubble_factors(stacks, prizes, seat=None, method="auto", threads=None, progress=None):
    """The bubble factor of each seat in play (rows) calling an all-in of
    each other (columns), NaN on the diagonal; with `seat` (from 1) that
    seat's row alone, as a 1 x n array.

        >>> ostrel.bubble_factors([5000, 3000, 2000, 1000], [50, 30, 20])[0, 1].round(4)
        1.4234
    """
    text, notes = _ostrel.bubble(_typed(stacks), _typed(prizes), _count(seat), method, _count(threads), progress)
    _warn(notes)
    grid = json.loads(text)["bubble_factors"]
    return np.array([[_number(value) for value in row] for row in grid], dtype=float)


class Range:
    """A range of starting hands in the command's notation.

        >>> r = ostrel.Range("QQ+, AKs:0.5")
        >>> str(r), r.combos
        ('QQ+, AKs:0.5', 22)

    `text` is as given, str() the shortest notation (which reads back to
    the same weights), `weights` the weight of each of the 1,326 combos
    (COMBO_NAMES order), `combos` how many have a weight above 0.
    """

    def __init__(self, text):
        if isinstance(text, Range):
            text = text.text
        self.text = text
        self._notation, self.weights = _ostrel.parse_range(text)
        self.weights.setflags(write=False)

    @property
    def combos(self):
        return int(np.count_nonzero(self.weights))

    def classes(self):
        """Class name -> the mean weight of its combos, for classes held."""
        held = {}
        for name_index in np.unique(_CLASS_OF_COMBO[self.weights > 0]):
            mask = _CLASS_OF_COMBO == name_index
            held[CLASS_NAMES[name_index]] = float(self.weights[mask].mean())
        return held

    def __str__(self):
        return self._notation

    def __repr__(self):
        return "Range(%r)" % self._notation

    def __eq__(self, other):
        return isinstance(other, Range) and bool(np.array_equal(self.weights, other.weights))

    __hash__ = None


class Allin:
    """An all-in's answer: `equity`, `win` and `tie` per player (arrays),
    `ranges` (Range), `combos`, and `exact` with `boards` or `samples`."""

    def __init__(self, answer):
        players = answer.pop("players")
        self.__dict__.update(answer)
        self.ranges = [Range(p["range"]) for p in players]
        self.combos = np.array([p["combos"] for p in players])
        for name in ("equity", "win", "tie"):
            setattr(self, name, np.array([p[name] for p in players], dtype=float))

    def __repr__(self):
        return "Allin(equity=%r)" % (self.equity.tolist(),)


def allin(ranges, board=None, dead=None, samples=None, seed=1, exact=False):
    """All-in equity of 2 to 6 hands or ranges (text or Range), exact or
    by `samples` Monte Carlo showdowns from `seed`.

        >>> ostrel.allin(["AA", "KK"]).equity.round(4)
        array([0.8195, 0.1805])
    """
    texts = [r.text if isinstance(r, Range) else r for r in ranges]
    # The seed belongs to the draws: given to the command only with them,
    # or when it is not the default, so that the command judges it.
    seed_typed = _count(seed) if samples is not None or seed != 1 else None
    text = _ostrel.allin(texts, board or "", dead or "", bool(exact), _count(samples), seed_typed)
    return Allin(json.loads(text))


from ._table import Decision, Nash, Spot, Table, grid_of, nash, spot  # noqa: E402
