# Types of the ostrel module, for editors and type checkers.
from typing import Callable, Mapping, Optional, Sequence, Union, overload

import numpy as np
import numpy.typing as npt

Number = Union[int, float, str]
Numbers = Union[Sequence[Number], npt.ArrayLike, str]
FieldProgress = Optional[Callable[[float], Optional[bool]]]
RoundsProgress = Optional[Callable[[int, float], Optional[bool]]]
RangeLike = Union["Range", str]

CLASS_NAMES: tuple[str, ...]
COMBO_NAMES: tuple[str, ...]

class Equity:
    method: str
    prize_pool: float
    bounty_money: float
    seats: npt.NDArray[np.int64]
    stacks: npt.NDArray[Union[np.int64, np.float64]]  # chips, or decimals as given
    chip_share: npt.NDArray[np.float64]
    equity: npt.NDArray[np.float64]
    pool_share: npt.NDArray[np.float64]
    bounty_ev: npt.NDArray[np.float64]
    total_ev: npt.NDArray[np.float64]

# Without bounty arguments each seat's $EV as an array; with `bounties` or
# `bounty_pool` an Equity.
@overload
def equity(stacks: Numbers, prizes: Numbers, method: str = "auto", threads: Optional[int] = None,
           progress: FieldProgress = None, bounties: None = None,
           bounty_pool: None = None) -> npt.NDArray[np.float64]: ...
@overload
def equity(stacks: Numbers, prizes: Numbers, method: str = "auto", threads: Optional[int] = None,
           progress: FieldProgress = None, *, bounties: Numbers, bounty_pool: Optional[Number] = None) -> Equity: ...
@overload
def equity(stacks: Numbers, prizes: Numbers, method: str = "auto", threads: Optional[int] = None,
           progress: FieldProgress = None, bounties: Optional[Numbers] = None, *,
           bounty_pool: Number) -> Equity: ...
def finish(stacks: Numbers, prizes: Numbers, method: str = "auto", threads: Optional[int] = None,
           places: Optional[int] = None, progress: FieldProgress = None) -> npt.NDArray[np.float64]: ...

class Deal:
    split: str
    method: str
    prize_pool: float
    kept_for_winner: float
    seats: npt.NDArray[np.int64]
    stacks: npt.NDArray[np.int64]
    payment: npt.NDArray[np.float64]
    deal_value: npt.NDArray[np.float64]
    equity: npt.NDArray[np.float64]
    difference: npt.NDArray[np.float64]
    bounty_money: float
    bounty_ev: npt.NDArray[np.float64]

def deal(stacks: Numbers, prizes: Numbers, split: str = "icm", keep: Number = 0, round: Optional[Number] = None,
         method: str = "auto", threads: Optional[int] = None, progress: FieldProgress = None,
         bounties: Optional[Numbers] = None, bounty_pool: Optional[Number] = None,
         deal_bounties: bool = False) -> Deal: ...
def bubble_factors(stacks: Numbers, prizes: Numbers, seat: Optional[int] = None, method: str = "auto",
                   threads: Optional[int] = None, progress: FieldProgress = None) -> npt.NDArray[np.float64]: ...

class Range:
    text: str
    weights: npt.NDArray[np.float64]
    def __init__(self, text: RangeLike) -> None: ...
    @property
    def combos(self) -> int: ...
    def classes(self) -> dict[str, float]: ...

class Allin:
    exact: bool
    ranges: list[Range]
    combos: npt.NDArray[np.int64]
    equity: npt.NDArray[np.float64]
    win: npt.NDArray[np.float64]
    tie: npt.NDArray[np.float64]

def allin(ranges: Sequence[RangeLike], board: Optional[str] = None, dead: Optional[str] = None,
          samples: Optional[int] = None, seed: int = 1, exact: bool = False) -> Allin: ...

class Table:
    stacks: list[int]
    button: Union[int, str]
    blinds: tuple[int, int]
    ante: int
    bb_ante: int
    prizes: Optional[list[Number]]
    others: list[int]
    bounties: Optional[list[Number]]
    others_bounties: Optional[list[Number]]
    bounty_pool: Optional[Number]
    bounty_share: Optional[Number]
    chips_per_unit: Optional[Number]
    def __init__(self, stacks: Numbers, button: Union[int, str], blinds: tuple[Number, Number], ante: Number = 0,
                 bb_ante: Number = 0, prizes: Optional[Numbers] = None, others: Optional[Numbers] = None,
                 bounties: Optional[Numbers] = None, others_bounties: Optional[Numbers] = None,
                 bounty_pool: Optional[Number] = None, bounty_share: Optional[Number] = None,
                 chips_per_unit: Optional[Number] = None) -> None: ...

SeatRanges = Union[Mapping[Union[int, str], RangeLike], Sequence[str], None]

class Spot:
    hero: int
    position: str
    action: str
    pool: float
    hands: list[dict]
    range: Range
    range_share: float
    difference: dict[str, float]
    grid: npt.NDArray[np.float64]
    bounty_money: float
    bounty_share: float
    # With one hand: its outcomes (each with "bounty_cash" under bounties)
    # and, facing a shove, the equity needed (with bounties also without them).
    ev_before: float
    ev_fold: float
    ev_play: float
    fold: list[dict]
    play: list[dict]
    equity_needed: float
    equity_needed_without_bounties: float

def spot(table: Table, hero: Union[int, str], action: str = "first-in", ranges: Union[SeatRanges, str] = None,
         shover: Union[int, str, None] = None, caller: Union[int, str, None] = None, overcalls: SeatRanges = None,
         shoves: SeatRanges = None, hand: Optional[str] = None, draws: Optional[int] = None,
         seed: Optional[int] = None, threads: Optional[int] = None) -> Spot: ...

class Decision:
    seat: int
    position: str
    action: str
    versus: list[int]
    range: Range
    share: float
    frequencies: dict[str, float]
    grid: npt.NDArray[np.float64]
    ev_play: dict[str, Optional[float]]
    ev_fold: dict[str, Optional[float]]
    reached: float

class Nash:
    exploitability: float
    iterations: int
    seats: list[dict]
    decisions: list[Decision]
    three_way_error: float
    max_hand_loss: float
    hand_loss_noise: float
    bounty_money: float
    bounty_share: float
    def decision(self, seat: int, action: str = "shove", versus: Sequence[int] = ()) -> Decision: ...

def nash(table: Table, tolerance: Optional[float] = None, threads: Optional[int] = None,
         progress: RoundsProgress = None, max_iterations: int = 100000, draws: int = 2400,
         seed: int = 1) -> Nash: ...
def grid_of(values: Mapping[str, Optional[float]]) -> npt.NDArray[np.float64]: ...
