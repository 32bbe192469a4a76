"""Range, allin, spot and nash against the command's JSON (every double to
the bit), the ranges' closed forms, the grids against the mappings, the
command's messages, and stopping a long run."""

import os
import signal
import threading
import time

import numpy as np
import pytest

import ostrel
from conftest import command_error, run_command, same_as_json

RANGES = [
    ("AA", 6, "AA"),
    ("AKs", 4, "AKs"),
    ("AKo", 12, "AKo"),
    ("random", 1326, "random"),
    ("QQ+, AKs:0.5", 22, "QQ+, AKs:0.5"),
    ("AhKh", 1, "AhKh"),
    ("22-44", 18, "22-44"),
]


@pytest.mark.parametrize("text,combos,notation", RANGES)
def test_range_counts_and_notation(text, combos, notation):
    held = ostrel.Range(text)
    assert held.combos == combos
    assert str(held) == notation
    assert ostrel.Range(str(held)) == held  # the notation reads back to the same weights


def test_range_weights_and_classes():
    held = ostrel.Range("QQ+, AKs:0.5")
    assert held.weights.shape == (1326,)
    assert held.weights.sum() == 18 + 0.5 * 4
    assert held.classes() == {"AA": 1.0, "KK": 1.0, "QQ": 1.0, "AKs": 0.5}


def test_a_range_the_command_refuses():
    with pytest.raises(ValueError) as raised:
        ostrel.Range("AKx")
    assert "AKx" in str(raised.value)


ALLINS = [
    (["AA", "KK"], {}, []),
    (["AdAc", "KhKs"], {}, []),
    (["AhKh", "QQ+, AKs", "JTs"], {"board": "Qs9h2c"}, ["--board", "Qs9h2c"]),
    (["AhKh", "QQ+", "JTs"], {"board": "Qs9h2c", "dead": "3d"}, ["--board", "Qs9h2c", "--dead", "3d"]),
    (["random", "random", "random"], {"samples": 20000, "seed": 7}, ["--samples", "20000", "--seed", "7"]),
    (["22+, A2s+, KTs+, AJo+", "15%"], {"samples": 5000}, ["--samples", "5000"]),
]


@pytest.mark.parametrize("ranges,keywords,options", ALLINS)
def test_allin_is_the_commands(ranges, keywords, options):
    expected = run_command("allin", *ranges, *options)
    answer = ostrel.allin(ranges, **keywords)
    players = expected["players"]
    for name in ("equity", "win", "tie", "combos"):
        assert getattr(answer, name).tolist() == [p[name] for p in players]
    assert [r.text for r in answer.ranges] == [p["range"] for p in players]
    assert answer.exact == expected["exact"]


README_TABLE = dict(stacks=[5000, 3000, 2000], button=1, blinds=(100, 200), prizes=[50, 30, 20])
README_TYPED = ["--stacks", "25bb,15bb,10bb", "--prizes", "50,30,20", "--button", "1", "--blinds", "100,200"]


SPOTS = [
    (dict(hero="SB", ranges={"BB": "QQ+,AK"}, hand="AhJd"), ["--hero", "SB", "--range", "BB=QQ+,AK", "--hand", "AhJd"]),
    (dict(hero="SB", ranges={"BB": "QQ+,AK"}), ["--hero", "SB", "--range", "BB=QQ+,AK"]),
    (dict(hero="BTN", ranges={"SB": "TT+", "BB": "99+, AQ+"}, overcalls={3: "KK+"}),
     ["--hero", "BTN", "--range", "SB=TT+", "--range", "BB=99+, AQ+", "--overcall", "3=KK+"]),
    (dict(hero="BB", action="call", shover="SB", ranges={"SB": "30%"}),
     ["--hero", "BB", "--action", "call", "--shover", "SB", "--range", "SB=30%"]),
    (dict(hero=2, ranges="nash", hand="AJo"), ["--hero", "2", "--ranges", "nash", "--hand", "AJo"]),
]


@pytest.mark.parametrize("keywords,options", SPOTS)
def test_spot_is_the_commands(keywords, options):
    expected = run_command("spot", *README_TYPED, *options)
    answer = ostrel.spot(ostrel.Table(**README_TABLE), **keywords)
    same_as_json(answer, expected)
    if "hands" in expected:
        for hand in expected["hands"]:
            assert answer.difference[hand["hand"]] == hand["difference"]


@pytest.mark.parametrize("seed", range(3))
def test_spot_on_random_tables_is_the_commands(seed):
    import random

    rng = random.Random(seed)
    stacks = [rng.randint(800, 8000) for _ in range(3)]
    share = rng.choice([5, 12.5, 30, 60])
    expected = run_command("spot", "--stacks", ",".join(map(str, stacks)), "--button", "1", "--blinds", "100,200",
                           "--prizes", "50,30,20", "--hero", "SB", "--range", f"BB={share}%")
    table = ostrel.Table(stacks, button=1, blinds=(100, 200), prizes=[50, 30, 20])
    same_as_json(ostrel.spot(table, "SB", ranges={"BB": f"{share}%"}), expected)


def test_the_spots_grid_draws_its_classes():
    answer = ostrel.spot(ostrel.Table(**README_TABLE), "SB", ranges={"BB": "QQ+,AK"})
    ranks = "AKQJT98765432"
    assert answer.grid[0, 0] == answer.difference["AA"]
    assert answer.grid[0, 1] == answer.difference["AKs"]
    assert answer.grid[1, 0] == answer.difference["AKo"]
    assert answer.grid[12, 11] == answer.difference["32o"]
    assert answer.grid[ranks.index("7"), ranks.index("2")] == answer.difference["72s"]


NASH_TABLES = [
    (dict(README_TABLE, ante=25), README_TYPED + ["--ante", "25"], {}),
    (dict(stacks=[3000, 2000], button=1, blinds=(100, 200), prizes=[70, 30]),
     ["--stacks", "3000,2000", "--button", "1", "--blinds", "100,200", "--prizes", "70,30"], {}),
    (dict(stacks=[5000, 3000], button=2, blinds=(100, 200)),
     ["--stacks", "5000,3000", "--button", "2", "--blinds", "100,200", "--chip-ev"], {}),
    (dict(stacks=[4000, 0, 2500, 1500], button=3, blinds=(50, 100), bb_ante=100, prizes=[60, 40], others=[3000]),
     ["--stacks", "4000,0,2500,1500", "--button", "3", "--blinds", "50,100", "--bb-ante", "100",
      "--prizes", "60,40", "--others", "3000"], {"tolerance": 0.05, "draws": 300}),
]


def random_heads_up(seed):
    """A heads-up table of 2 to 30 big blinds each, chip EV or two prizes."""
    import random

    rng = random.Random(seed)
    big = rng.choice([100, 200, 400])
    stacks = [rng.randint(2 * big, 30 * big) for _ in range(2)]
    prizes = None if seed % 2 else sorted((rng.randint(1, 100) for _ in range(2)), reverse=True)
    table = dict(stacks=stacks, button=rng.randint(1, 2), blinds=(big // 2, big), ante=rng.choice([0, big // 8]),
                 prizes=prizes)
    options = ["--stacks", ",".join(map(str, stacks)), "--button", str(table["button"]),
               "--blinds", f"{big // 2},{big}"] + (["--ante", str(table["ante"])] if table["ante"] else [])
    options += ["--chip-ev"] if prizes is None else ["--prizes", ",".join(map(str, prizes))]
    return table, options, {}


NASH_TABLES += [random_heads_up(seed) for seed in range(4)]


@pytest.mark.parametrize("table,options,keywords", NASH_TABLES)
def test_nash_is_the_commands(table, options, keywords):
    typed = [f"--{name.replace('_', '-')}={value}" for name, value in keywords.items()]
    expected = run_command("nash", *options, *typed)
    answer = ostrel.nash(ostrel.Table(**table), **keywords)
    same_as_json(answer, expected)
    for decision in answer.decisions:
        for name, frequency in decision.frequencies.items():
            assert decision.grid[tuple(_cell(name))] == frequency
        assert len(decision.frequencies) == 169 and not np.isnan(decision.grid).any()


def _cell(name):
    ranks = "AKQJT98765432"
    high, low = ranks.index(name[0]), ranks.index(name[1])
    return (low, high) if name.endswith("o") else (high, low)


TABLE_WRONG = [
    (lambda: ostrel.nash(ostrel.Table([5000, 3000], button=3, blinds=(100, 200), prizes=[70, 30])),
     ["nash", "--stacks", "5000,3000", "--button", "3", "--blinds", "100,200", "--prizes", "70,30"]),
    (lambda: ostrel.nash(ostrel.Table([5000, 3000], button=1, blinds=(300, 200), prizes=[70, 30])),
     ["nash", "--stacks", "5000,3000", "--button", "1", "--blinds", "300,200", "--prizes", "70,30"]),
    (lambda: ostrel.nash(ostrel.Table([5000, 3000], button=1, blinds=(100, 200), prizes=[70, 30]), tolerance=-1),
     ["nash", "--stacks", "5000,3000", "--button", "1", "--blinds", "100,200", "--prizes", "70,30",
      "--tolerance", "-1.0"]),
    (lambda: ostrel.nash(ostrel.Table([5000, 3000], button=1, blinds=(100, 200), prizes=[70, 30]), draws=0),
     ["nash", "--stacks", "5000,3000", "--button", "1", "--blinds", "100,200", "--prizes", "70,30",
      "--draws", "0"]),
    (lambda: ostrel.nash(ostrel.Table([1000] * 11, button=1, blinds=(10, 20), prizes=[70, 30])),
     ["nash", "--stacks", ",".join(["1000"] * 11), "--button", "1", "--blinds", "10,20", "--prizes", "70,30"]),
    (lambda: ostrel.nash(ostrel.Table([5000, 3000.5], button=1, blinds=(100, 200), prizes=[70, 30])),
     ["nash", "--stacks", "5000,3000.5", "--button", "1", "--blinds", "100,200", "--prizes", "70,30"]),
    (lambda: ostrel.nash(ostrel.Table([5000, 3000], button=1, blinds=(100, 200), ante=10, bb_ante=200,
                                      prizes=[70, 30])),
     ["nash", "--stacks", "5000,3000", "--button", "1", "--blinds", "100,200", "--ante", "10",
      "--bb-ante", "200", "--prizes", "70,30"]),
    (lambda: ostrel.nash(ostrel.Table([5000, 3000], button=1, blinds=(100, 200), ante=-5, prizes=[70, 30])),
     ["nash", "--stacks", "5000,3000", "--button", "1", "--blinds", "100,200", "--ante=-5", "--prizes", "70,30"]),
    (lambda: ostrel.nash(ostrel.Table([5000, 3000], button=1, blinds=(100, 200.5), prizes=[70, 30])),
     ["nash", "--stacks", "5000,3000", "--button", "1", "--blinds", "100,200.5", "--prizes", "70,30"]),
    (lambda: ostrel.nash(ostrel.Table([5000, 3000], button=1, blinds=(100, 200), prizes=[70, 30],
                                      others=[1000.5])),
     ["nash", "--stacks", "5000,3000", "--button", "1", "--blinds", "100,200", "--prizes", "70,30",
      "--others", "1000.5"]),
    (lambda: ostrel.nash(ostrel.Table([5000, 3000], button="CO", blinds=(100, 200), prizes=[70, 30])),
     ["nash", "--stacks", "5000,3000", "--button", "CO", "--blinds", "100,200", "--prizes", "70,30"]),
    (lambda: ostrel.spot(ostrel.Table(**README_TABLE), "XX"), ["spot", *README_TYPED, "--hero", "XX"]),
    # The equilibrium of ranges="nash" is nash's, with nash's limits.
    (lambda: ostrel.spot(ostrel.Table([1000] * 11, button=1, blinds=(10, 20), prizes=[50, 30, 20]), 4,
                         ranges="nash"),
     ["spot", "--stacks", ",".join(["1000"] * 11), "--button", "1", "--blinds", "10,20", "--prizes", "50,30,20",
      "--hero", "4", "--ranges", "nash"]),
    (lambda: ostrel.spot(ostrel.Table(**README_TABLE), "SB", action="limp"),
     ["spot", *README_TYPED, "--hero", "SB", "--action", "limp"]),
    (lambda: ostrel.spot(ostrel.Table(**README_TABLE), "SB", ranges={"BB": "QQ+"}, hand="AhAh"),
     ["spot", *README_TYPED, "--hero", "SB", "--range", "BB=QQ+", "--hand", "AhAh"]),
    (lambda: ostrel.allin(["AA"]), ["allin", "AA"]),
    (lambda: ostrel.allin(["AA", "KK"], board="Qs9h"), ["allin", "AA", "KK", "--board", "Qs9h"]),
    (lambda: ostrel.allin(["AA", "KK"], samples=1), ["allin", "AA", "KK", "--samples", "1"]),
    (lambda: ostrel.allin(["AA", "KK"], seed=5), ["allin", "AA", "KK", "--seed", "5"]),
]


@pytest.mark.parametrize("call,arguments", TABLE_WRONG)
def test_wrong_arguments_raise_the_commands_message(call, arguments):
    with pytest.raises(ValueError) as raised:
        call()
    assert str(raised.value) == command_error(*arguments)


LONG_TABLE = dict(stacks=[5000, 4000, 3000, 2000], button=1, blinds=(100, 200), prizes=[50, 30, 20])


def test_nash_progress_hears_each_round_and_can_stop():
    heard = []
    heads_up = ostrel.Table([3000, 2000], button=1, blinds=(100, 200), prizes=[70, 30])
    answer = ostrel.nash(heads_up, progress=lambda rounds, gap: heard.append((rounds, gap)))
    # Rounds 0 to the last, each once; the answer's exploitability is then
    # measured again on the ranges it returns.
    assert [rounds for rounds, _ in heard] == list(range(answer.iterations + 1))
    assert all(gap > 0 for _, gap in heard)
    with pytest.raises(ValueError, match="stopped before the end, as asked"):
        ostrel.nash(ostrel.Table(**LONG_TABLE), tolerance=1e-9, max_iterations=10**6,
                    progress=lambda rounds, gap: rounds < 3)


def test_ctrl_c_stops_a_long_nash():
    timer = threading.Timer(0.3, lambda: os.kill(os.getpid(), signal.SIGINT))
    started = time.monotonic()
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        ostrel.nash(ostrel.Table(**LONG_TABLE), tolerance=1e-9, max_iterations=10**6)
    assert time.monotonic() - started < 5.0


def test_ctrl_c_stops_the_equilibrium_of_a_spot():
    ten = ostrel.Table([9000, 4000, 2500, 7000, 3000, 1200, 6000, 5000, 800, 4400], button=1, blinds=(200, 400),
                       ante=50, prizes=[30, 20, 14, 10, 8, 6, 5, 4, 3])
    timer = threading.Timer(0.3, lambda: os.kill(os.getpid(), signal.SIGINT))
    started = time.monotonic()
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        ostrel.spot(ten, 4, ranges="nash", threads=1)
    assert time.monotonic() - started < 2.0


def test_the_docstrings_examples_hold():
    import doctest

    import ostrel._table

    for module in (ostrel, ostrel._table):
        outcome = doctest.testmod(module, extraglobs={"ostrel": ostrel},
                                  optionflags=doctest.ELLIPSIS | doctest.NORMALIZE_WHITESPACE)
        assert outcome.attempted > 0 and outcome.failed == 0
