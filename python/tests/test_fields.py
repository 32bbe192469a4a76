"""equity, finish, deal and bubble_factors against the command's JSON: the
same doubles to the bit on the README's fields and on random ones, and the
command's message for every kind of wrong argument."""

import math
import random

import numpy as np
import pytest

import ostrel
from conftest import command_error, listed, run_command


def random_field(seed):
    """2 to 30 seats (some empty) of 1 to 10^6 chips, 1 to 6 falling prizes."""
    rng = random.Random(seed)
    seats = rng.randint(2, 30)
    stacks = [rng.choice([0, 0]) if rng.random() < 0.1 else rng.randint(1, 10**6) for _ in range(seats)]
    stacks[0] = stacks[0] or 1000
    stacks[1] = stacks[1] or 500
    prizes = sorted((rng.randint(1, 1000) for _ in range(rng.randint(1, 6))), reverse=True)
    return stacks, prizes


FIELDS = [
    ([5000, 3000, 2000], [50, 30, 20]),
    ([5000, 3000, 2000, 1000], [50, 30, 20]),
    ([24.5, 15, 10.5], [5000, 3000, 2000]),
    ([5000, 0, 3000, 2000], [50, 30, 20]),
    ([1500] * 18, [40, 25, 15, 10, 6, 4]),
] + [random_field(seed) for seed in range(12)]


def seats_of(answer, name):
    return [seat[name] for seat in answer["players"]]


@pytest.mark.parametrize("method", ["auto", "plain", "subsets", "quadrature"])
@pytest.mark.parametrize("stacks,prizes", FIELDS[:5])
def test_equity_is_the_commands_by_every_method(stacks, prizes, method):
    expected = run_command("equity", "--stacks", listed(stacks), "--prizes", listed(prizes), "--method", method)
    assert ostrel.equity(stacks, prizes, method=method).tolist() == seats_of(expected, "equity")


@pytest.mark.parametrize("stacks,prizes", FIELDS)
def test_equity_and_finish_are_the_commands(stacks, prizes):
    equity = run_command("equity", "--stacks", listed(stacks), "--prizes", listed(prizes))
    finish = run_command("finish", "--stacks", listed(stacks), "--prizes", listed(prizes))
    assert ostrel.equity(stacks, prizes).tolist() == seats_of(equity, "equity")
    assert ostrel.finish(stacks, prizes).tolist() == seats_of(finish, "places")


@pytest.mark.parametrize("stacks,prizes", FIELDS[:2])
def test_finish_places_and_numpy_input(stacks, prizes):
    expected = run_command("finish", "--stacks", listed(stacks), "--prizes", listed(prizes), "--places", "2")
    table = ostrel.finish(np.array(stacks, dtype=float), np.array(prizes), places=2)
    assert table.shape == (len(stacks), 2)
    assert table.tolist() == seats_of(expected, "places")


@pytest.mark.parametrize("stacks,prizes", FIELDS[:4])
def test_equity_sums_to_the_prizes_paid(stacks, prizes):
    players = sum(1 for s in stacks if s > 0)
    assert math.isclose(ostrel.equity(stacks, prizes).sum(), sum(prizes[:players]), rel_tol=1e-12)
    assert np.allclose(ostrel.finish(stacks, prizes).sum(axis=0)[:players], 1.0)


DEALS = [
    dict(split="icm", keep=0, round=None),
    dict(split="icm", keep=0, round=1),
    dict(split="chip", keep=5, round=None),
    dict(split="even", keep=0, round=0.5),
    dict(split="icm", keep=2.5, round=0.01),
]


@pytest.mark.parametrize("terms", DEALS)
@pytest.mark.parametrize("stacks,prizes", [FIELDS[0], FIELDS[1], ([7000, 2000, 1000], [50, 30, 20])])
def test_deal_is_the_commands(stacks, prizes, terms):
    arguments = ["deal", "--stacks", listed(stacks), "--prizes", listed(prizes), "--split", terms["split"],
                 "--keep", str(terms["keep"])]
    if terms["round"] is not None:
        arguments += ["--round", str(terms["round"])]
    expected = run_command(*arguments)
    answer = ostrel.deal(stacks, prizes, **terms)
    for name in ("payment", "deal_value", "equity", "difference"):
        assert getattr(answer, name).tolist() == seats_of(expected, name)
    assert (answer.split, answer.method, answer.prize_pool, answer.kept_for_winner) == (
        expected["split"], expected["method"], expected["prize_pool"], expected["kept_for_winner"])


def nulls(grid):
    return [[None if math.isnan(value) else value for value in row] for row in grid.tolist()]


@pytest.mark.parametrize("stacks,prizes", FIELDS[:2] + [FIELDS[3]] + FIELDS[5:9])
def test_bubble_factors_are_the_commands(stacks, prizes):
    expected = run_command("bubble", "--stacks", listed(stacks), "--prizes", listed(prizes))
    assert nulls(ostrel.bubble_factors(stacks, prizes)) == expected["bubble_factors"]
    row = run_command("bubble", "--stacks", listed(stacks), "--prizes", listed(prizes), "--seat", "1")
    assert nulls(ostrel.bubble_factors(stacks, prizes, seat=1)) == row["bubble_factors"]


# Each kind of wrong argument, as the module and as the command take it.
WRONG = [
    (lambda: ostrel.equity([5000, "x"], [50]), ["equity", "--stacks", "5000,x", "--prizes", "50"]),
    (lambda: ostrel.equity([5000, -3], [50]), ["equity", "--stacks", "5000,-3", "--prizes", "50"]),
    (lambda: ostrel.equity([], [50]), ["equity", "--stacks", " ", "--prizes", "50"]),
    (lambda: ostrel.equity([0, 0], [50]), ["equity", "--stacks", "0,0", "--prizes", "50"]),
    (lambda: ostrel.equity([5000, 3000], ["1e999"]), ["equity", "--stacks", "5000,3000", "--prizes", "1e999"]),
    (lambda: ostrel.equity([5000, 3000], [50], method="exact"),
     ["equity", "--stacks", "5000,3000", "--prizes", "50", "--method", "exact"]),
    (lambda: ostrel.equity([5000, 3000], [50], threads=0),
     ["equity", "--stacks", "5000,3000", "--prizes", "50", "--threads", "0"]),
    (lambda: ostrel.equity([5000, 3000], [50], threads=300),
     ["equity", "--stacks", "5000,3000", "--prizes", "50", "--threads", "300"]),
    (lambda: ostrel.finish([5000, 3000], [50], places=0),
     ["finish", "--stacks", "5000,3000", "--prizes", "50", "--places", "0"]),
    (lambda: ostrel.deal([5000, 3000], [50, 30], split="fair"),
     ["deal", "--stacks", "5000,3000", "--prizes", "50,30", "--split", "fair"]),
    (lambda: ostrel.deal([5000, 3000], [50, 30], keep=60),
     ["deal", "--stacks", "5000,3000", "--prizes", "50,30", "--keep", "60"]),
    (lambda: ostrel.deal([5000, 3000], [50, 30], round=0),
     ["deal", "--stacks", "5000,3000", "--prizes", "50,30", "--round", "0"]),
    (lambda: ostrel.deal([5000, 3000], [50, "30.00000000000000001"], round=1),
     ["deal", "--stacks", "5000,3000", "--prizes", "50,30.00000000000000001", "--round", "1"]),
    (lambda: ostrel.bubble_factors([5000, 3000], [50], seat=3),
     ["bubble", "--stacks", "5000,3000", "--prizes", "50", "--seat", "3"]),
    (lambda: ostrel.bubble_factors([5000, 0, 3000], [50], seat=2),
     ["bubble", "--stacks", "5000,0,3000", "--prizes", "50", "--seat", "2"]),
    (lambda: ostrel.bubble_factors([5000] * 101, [50]),
     ["bubble", "--stacks", ",".join(["5000"] * 101), "--prizes", "50"]),
]


@pytest.mark.parametrize("call,arguments", WRONG)
def test_wrong_arguments_raise_the_commands_message(call, arguments):
    with pytest.raises(ValueError) as raised:
        call()
    assert str(raised.value) == command_error(*arguments)


def test_a_rising_ladder_warns_as_the_command_does():
    with pytest.warns(RuntimeWarning, match="the prizes rise from place 1"):
        ostrel.equity([5000, 3000], [30, 50])


def test_progress_hears_the_share_and_stops_the_run():
    heard = []
    answer = ostrel.deal([5000, 3000, 2000], [50, 30, 20], progress=lambda done: heard.append(done))
    assert answer.payment.size == 3 and heard and all(0.0 <= d <= 1.0 for d in heard)
    with pytest.raises(ValueError, match="stopped before the end, as asked"):
        ostrel.bubble_factors([5000, 3000, 2000, 1000], [50, 30, 20], progress=lambda done: False)


def test_threads_asking_at_once_get_each_their_own_answer():
    # The GIL is released during a run; runs on the window's fields share
    # the window's one record and must wait for each other.
    from concurrent.futures import ThreadPoolExecutor

    fields = FIELDS[:5] + FIELDS[5:9]
    expected = [ostrel.equity(stacks, prizes).tolist() for stacks, prizes in fields]
    with ThreadPoolExecutor(max_workers=4) as pool:
        for _ in range(5):
            answers = list(pool.map(lambda field: ostrel.equity(*field).tolist(), fields))
            assert answers == expected
