"""Bounties in equity, deal, spot and nash against the command's JSON (every
double to the bit), the proportional model's closed forms, zero bounties
against none, and the command's message for every wrong bounty argument."""

import math
import random

import numpy as np
import pytest

import ostrel
from conftest import command_error, listed, run_command, same_as_json


def bounty_options(bounties=None, bounty_pool=None, deal_bounties=False):
    """The command's options for the module's bounty keywords."""
    options = []
    if bounties is not None:
        options += ["--bounties", bounties if isinstance(bounties, str) else listed(bounties)]
    if bounty_pool is not None:
        options += ["--bounty-pool", str(bounty_pool)]
    return options + (["--deal-bounties"] if deal_bounties else [])


def random_bounty_field(seed):
    """3 to 12 seats of 1 to 10^5 chips, falling prizes, a bounty of 0 to 50
    (in steps of 0.25) on each head."""
    rng = random.Random(seed)
    seats = rng.randint(3, 12)
    stacks = [rng.randint(1, 10**5) for _ in range(seats)]
    prizes = sorted((rng.randint(1, 500) for _ in range(rng.randint(1, 4))), reverse=True)
    return stacks, prizes, dict(bounties=[rng.randint(0, 200) / 4 for _ in range(seats)])


EQUITY_FIELDS = [
    ([5000, 3000, 2000], [50, 30, 20], dict(bounties=[10, 10, 10])),
    ([5000, 0, 3000, 2000], [50, 30, 20], dict(bounties=[10, 0, 12.5, 7.5])),
    ([5000, 3000, 2000], [50, 30, 20], dict(bounty_pool=45)),
    ([5000, 3000, 2000], [50, 30, 20], dict(bounties=[10, 10, 10], bounty_pool=60.5)),
    ([5000, 3000, 2000], [50, 30, 20], dict(bounties="25,15.5,0")),
    ([1500] * 18, [40, 25, 15, 10, 6, 4], dict(bounties=[5] * 18)),
    ([24.5, 15, 10.5], [5000, 3000, 2000], dict(bounties=[1000, 500, 500])),
] + [random_bounty_field(seed) for seed in range(6)]


def seats_of(answer, name):
    return [seat[name] for seat in answer["players"]]


@pytest.mark.parametrize("stacks,prizes,keywords", EQUITY_FIELDS)
def test_equity_with_bounties_is_the_commands(stacks, prizes, keywords):
    expected = run_command("equity", "--stacks", listed(stacks), "--prizes", listed(prizes),
                           *bounty_options(**keywords))
    answer = ostrel.equity(stacks, prizes, **keywords)
    assert isinstance(answer, ostrel.Equity)
    for name in ("seat", "stack"):
        assert getattr(answer, name + "s").tolist() == seats_of(expected, name)
    for name in ("chip_share", "equity", "pool_share", "bounty_ev", "total_ev"):
        assert getattr(answer, name).tolist() == seats_of(expected, name), name
    assert (answer.method, answer.prize_pool, answer.bounty_money) == (
        expected["method"], expected["prize_pool"], expected["bounty_money"])


@pytest.mark.parametrize("stacks,prizes,keywords", EQUITY_FIELDS)
def test_bounty_equity_is_the_chip_share_of_the_money(stacks, prizes, keywords):
    # The proportional model: each stack holds its share of the chips of
    # all the bounty money in play, which is paid out whole in the end.
    answer = ostrel.equity(stacks, prizes, **keywords)
    money = keywords.get("bounty_pool")
    if money is None:
        money = sum(float(b) for b in str(keywords["bounties"]).strip("[]").split(","))
    assert answer.bounty_money == money
    assert np.allclose(answer.bounty_ev, answer.chip_share * money, rtol=1e-14, atol=0)
    assert math.isclose(answer.bounty_ev.sum(), money, rel_tol=1e-12)
    assert answer.total_ev.tolist() == (answer.equity + answer.bounty_ev).tolist()
    # The prizes' part is equity's without bounties, to the bit.
    assert answer.equity.tolist() == ostrel.equity(stacks, prizes).tolist()


DEALS = [
    dict(bounties=[10, 10, 10], deal_bounties=True),
    dict(bounties=[10, 10, 10], deal_bounties=True, round=1),
    dict(bounties=[20, 5, 12.5], deal_bounties=True, split="chip", keep=5),
    dict(bounties=[10, 10, 10], deal_bounties=True, split="even", round=0.5),
    dict(bounty_pool=75, deal_bounties=True, keep=2.5, round=0.01),
    dict(bounties=[10, 10, 10], bounty_pool=40, deal_bounties=True),
    dict(),  # no bounties: nothing dealt besides the prizes
    dict(round=1),
]


def deal_options(terms):
    options = ["--split", terms.get("split", "icm"), "--keep", str(terms.get("keep", 0))]
    if terms.get("round") is not None:
        options += ["--round", str(terms["round"])]
    return options + bounty_options(terms.get("bounties"), terms.get("bounty_pool"), terms.get("deal_bounties"))


@pytest.mark.parametrize("terms", DEALS)
@pytest.mark.parametrize("stacks,prizes", [([5000, 3000, 2000], [50, 30, 20]), ([7000, 2000, 1000], [50, 30, 20])])
def test_deal_with_bounties_is_the_commands(stacks, prizes, terms):
    expected = run_command("deal", "--stacks", listed(stacks), "--prizes", listed(prizes), *deal_options(terms))
    answer = ostrel.deal(stacks, prizes, **terms)
    for name in ("payment", "deal_value", "equity", "difference"):
        assert getattr(answer, name).tolist() == seats_of(expected, name), name
    if "bounty_money" in expected:
        assert answer.bounty_ev.tolist() == seats_of(expected, "bounty_ev")
        assert answer.bounty_money == expected["bounty_money"] > 0
    else:
        assert answer.bounty_money == 0 and not answer.bounty_ev.any()
    assert (answer.split, answer.method, answer.prize_pool, answer.kept_for_winner) == (
        expected["split"], expected["method"], expected["prize_pool"], expected["kept_for_winner"])


def test_a_dealt_bounty_is_added_to_the_seats_prize_deal():
    stacks, prizes = [7000, 2000, 1000], [50, 30, 20]
    plain = ostrel.deal(stacks, prizes)
    dealt = ostrel.deal(stacks, prizes, bounties=[10, 10, 10], deal_bounties=True)
    assert np.allclose(dealt.bounty_ev, [21, 6, 3], rtol=1e-14)
    assert np.allclose(dealt.payment, plain.payment + dealt.bounty_ev, rtol=1e-14)
    assert np.allclose(dealt.difference, plain.difference, rtol=0, atol=1e-12)  # playing on is worth them too
    assert math.isclose(dealt.payment.sum(), 130, rel_tol=1e-14)


# The README's table: the big blind facing the small blind's shove.
README_TABLE = dict(stacks=[1000, 500, 1500], button=1, blinds=(50, 100), prizes=[50, 30, 20])
README_TYPED = ["--stacks", "1000,500,1500", "--button", "1", "--blinds", "50,100", "--prizes", "50,30,20"]
FACING = dict(hero=3, action="call", shover=2, ranges={2: "50%"})
FACING_TYPED = ["--hero", "3", "--action", "call", "--shover", "2", "--range", "2=50%"]
CHIP_TABLE = dict(README_TABLE, prizes=None)
CHIP_TYPED = README_TYPED[:-2] + ["--chip-ev"]
OTHERS_TABLE = dict(README_TABLE, others=[2000, 1000], prizes=[50, 30, 20, 10])
OTHERS_TYPED = README_TYPED[:-2] + ["--prizes", "50,30,20,10", "--others", "2000,1000"]


def table_options(keywords):
    options = []
    for name in ("bounties", "others_bounties", "bounty_pool", "bounty_share", "chips_per_unit"):
        if name in keywords:
            value = keywords[name]
            options.append("--%s=%s" % (name.replace("_", "-"), listed(value) if isinstance(value, list) else value))
    return options


SPOTS = [
    # a knockout and a progressive knockout, one hand's outcomes and every class
    (README_TABLE, README_TYPED, dict(bounties=[10, 10, 10]), dict(FACING, hand="Qh5h"),
     FACING_TYPED + ["--hand", "Qh5h"]),
    (README_TABLE, README_TYPED, dict(bounties=[10, 10, 10], bounty_share=0.5), dict(FACING, hand="Qh5h"),
     FACING_TYPED + ["--hand", "Qh5h"]),
    (README_TABLE, README_TYPED, dict(bounties=[10, 10, 10], bounty_share=0.5), FACING, FACING_TYPED),
    (README_TABLE, README_TYPED, dict(bounties=[5, 20, 10], bounty_share=0.5), dict(hero="SB", ranges={"BB": "30%"}),
     ["--hero", "SB", "--range", "BB=30%"]),
    (README_TABLE, README_TYPED, dict(bounties=[5, 20, 10]), dict(hero="SB", ranges={"BB": "30%"}, hand="K7o"),
     ["--hero", "SB", "--range", "BB=30%", "--hand", "K7o"]),
    # chip EV, the bounty money in chips at a rate
    (CHIP_TABLE, CHIP_TYPED, dict(bounties=[10, 10, 10], chips_per_unit=20), dict(FACING, hand="Qh5h"),
     FACING_TYPED + ["--hand", "Qh5h"]),
    (CHIP_TABLE, CHIP_TYPED, dict(bounties=[10, 10, 10], bounty_share=0.5, chips_per_unit=12.5), FACING,
     FACING_TYPED),
    # players at other tables: their bounties, or all the money in play
    (OTHERS_TABLE, OTHERS_TYPED, dict(bounties=[10, 10, 10], others_bounties=[20, 10], bounty_share=0.5),
     dict(FACING, hand="AdTs"), FACING_TYPED + ["--hand", "AdTs"]),
    (OTHERS_TABLE, OTHERS_TYPED, dict(bounties=[10, 10, 10], bounty_pool=70), FACING, FACING_TYPED),
    # three in the pot, drawn
    (README_TABLE, README_TYPED, dict(bounties=[10, 10, 10], bounty_share=0.5),
     dict(hero="BB", action="overcall", shover="BTN", caller="SB", ranges={"BTN": "40%", "SB": "20%"}, draws=400,
          hand="AhQh"),
     ["--hero", "BB", "--action", "overcall", "--shover", "BTN", "--caller", "SB", "--range", "BTN=40%",
      "--range", "SB=20%", "--draws", "400", "--hand", "AhQh"]),
]


@pytest.mark.parametrize("table,typed,money,keywords,options", SPOTS)
def test_spot_with_bounties_is_the_commands(table, typed, money, keywords, options):
    expected = run_command("spot", *typed, *table_options(money), *options)
    answer = ostrel.spot(ostrel.Table(**table, **money), **keywords)
    same_as_json(answer, expected)
    # The money in play: the pool given, else every bounty on a head.
    in_play = money.get("bounty_pool", sum(money["bounties"]) + sum(money.get("others_bounties", [])))
    assert answer.bounty_money == in_play
    assert answer.bounty_share == money.get("bounty_share", 1.0)
    if len(keywords.get("hand", "")) == 4:  # one hand's outcomes, not a class's row
        assert all("bounty_cash" in outcome for outcome in answer.fold + answer.play)


def test_the_readme_hand_by_its_closed_forms():
    # Folding leaves 1400 of 3000 chips: 37.5 of prizes and 14 of the 30 of
    # bounty money. Losing leaves three stacks of 1000: 100/3 + 10. Winning
    # busts the small blind: 130/3 of prizes, 5 in cash, 2/3 of the 25 left.
    table = ostrel.Table(**README_TABLE, bounties=[10, 10, 10], bounty_share=0.5)
    answer = ostrel.spot(table, **FACING, hand="Qh5h")
    values = {tuple(outcome["finish"]): outcome for outcome in answer.play}
    assert math.isclose(answer.ev_fold, 51.5, rel_tol=1e-14)
    assert math.isclose(values[(1, 2)]["value"], 130 / 3, rel_tol=1e-14)
    assert math.isclose(values[(2, 1)]["value"], 65, rel_tol=1e-14)
    assert values[(2, 1)]["bounty_cash"] == 5 and values[(1, 2)]["bounty_cash"] == 0
    assert math.isclose(answer.equity_needed, (51.5 - 130 / 3) / (65 - 130 / 3), rel_tol=1e-12)
    assert math.isclose(answer.equity_needed_without_bounties, (37.5 - 100 / 3) / (130 / 3 - 100 / 3),
                        rel_tol=1e-12)
    # Playing is worth its outcomes by their chances.
    assert math.isclose(answer.ev_play, sum(o["chance"] * o["value"] for o in answer.play), rel_tol=1e-12)


NASH_TABLES = [
    (README_TABLE, README_TYPED, dict(bounties=[10, 10, 10], bounty_share=0.5), {}),
    (README_TABLE, README_TYPED, dict(bounties=[5, 20, 10]), {}),
    (dict(stacks=[3000, 2000], button=1, blinds=(100, 200)),
     ["--stacks", "3000,2000", "--button", "1", "--blinds", "100,200", "--chip-ev"],
     dict(bounties=[10, 10], chips_per_unit=100), {}),
    (dict(README_TABLE, others=[2000], prizes=[50, 30, 20, 10]),
     README_TYPED[:-2] + ["--prizes", "50,30,20,10", "--others", "2000"], dict(bounties=[10, 10, 10], bounty_pool=50),
     {"tolerance": 0.05, "draws": 300}),
]


@pytest.mark.parametrize("table,typed,money,keywords", NASH_TABLES)
def test_nash_with_bounties_is_the_commands(table, typed, money, keywords):
    options = [f"--{name.replace('_', '-')}={value}" for name, value in keywords.items()]
    expected = run_command("nash", *typed, *table_options(money), *options)
    answer = ostrel.nash(ostrel.Table(**table, **money), **keywords)
    same_as_json(answer, expected)
    assert answer.bounty_money == money.get("bounty_pool", sum(money["bounties"]))
    assert answer.bounty_share == money.get("bounty_share", 1.0)


# Zero bounties, however given, are no bounty money: the answers without.
def test_zero_bounties_are_equity_without_them():
    stacks, prizes = [5000, 0, 3000, 2000], [50, 30, 20]
    plain = ostrel.equity(stacks, prizes)
    for keywords in (dict(bounties=[0, 0, 0, 0]), dict(bounty_pool=0), dict(bounties=[0] * 4, bounty_pool=0)):
        answer = ostrel.equity(stacks, prizes, **keywords)
        assert answer.equity.tolist() == answer.total_ev.tolist() == plain.tolist()
        assert answer.bounty_money == 0 and not answer.bounty_ev.any()


def test_zero_bounties_are_a_deal_without_them():
    stacks, prizes = [7000, 2000, 1000], [50, 30, 20]
    expected = run_command("deal", "--stacks", listed(stacks), "--prizes", listed(prizes), "--round", "1")
    answer = ostrel.deal(stacks, prizes, round=1, bounties=[0, 0, 0], deal_bounties=True)
    assert "bounty_money" not in expected
    for name in ("payment", "deal_value", "equity", "difference"):
        assert getattr(answer, name).tolist() == seats_of(expected, name), name


ZERO = dict(bounties=[0, 0, 0], bounty_share=0.5)
ZERO_SPOTS = [
    (README_TABLE, README_TYPED, ZERO, dict(FACING, hand="Qh5h"), FACING_TYPED + ["--hand", "Qh5h"]),
    (README_TABLE, README_TYPED, ZERO, FACING, FACING_TYPED),
    (README_TABLE, README_TYPED, dict(bounty_share=0.5), FACING, FACING_TYPED),  # a share of nothing
    (OTHERS_TABLE, OTHERS_TYPED, dict(ZERO, bounty_pool=0), dict(FACING, hand="AdTs"),
     FACING_TYPED + ["--hand", "AdTs"]),
    # chip EV takes bounties of 0 without a rate: no money to convert
    (CHIP_TABLE, CHIP_TYPED, ZERO, dict(FACING, hand="Qh5h"), FACING_TYPED + ["--hand", "Qh5h"]),
]


@pytest.mark.parametrize("table,typed,money,keywords,options", ZERO_SPOTS)
def test_zero_bounties_are_a_spot_without_them(table, typed, money, keywords, options):
    expected = run_command("spot", *typed, *options)  # without bounties
    answer = ostrel.spot(ostrel.Table(**table, **money), **keywords)
    same_as_json(answer, expected)
    assert answer.bounty_money == 0 and "equity_needed_without_bounties" not in vars(answer)


def test_zero_bounties_are_an_equilibrium_without_them():
    heads_up = dict(stacks=[3000, 2000], button=1, blinds=(100, 200), prizes=[70, 30])
    expected = run_command("nash", "--stacks", "3000,2000", "--button", "1", "--blinds", "100,200",
                           "--prizes", "70,30")
    same_as_json(ostrel.nash(ostrel.Table(**heads_up, bounties=[0, 0], bounty_share=0.25)), expected)


FIELD = ["--stacks", "5000,3000,2000", "--prizes", "50,30,20"]
EQ = dict(stacks=[5000, 3000, 2000], prizes=[50, 30, 20])


def spot_of(**money):
    return lambda: ostrel.spot(ostrel.Table(**README_TABLE, **money), **FACING)


def chip_spot_of(**money):
    return lambda: ostrel.spot(ostrel.Table(**CHIP_TABLE, **money), **FACING)


def others_spot_of(**money):
    return lambda: ostrel.spot(ostrel.Table(**OTHERS_TABLE, **money), **FACING)


# Each kind of wrong bounty argument, as the module and as the command take it.
WRONG = [
    (lambda: ostrel.equity(**EQ, bounties=[10, 10]), ["equity", *FIELD, "--bounties", "10,10"]),
    (lambda: ostrel.equity(**EQ, bounties=[10, -1, 10]), ["equity", *FIELD, "--bounties=10,-1,10"]),
    (lambda: ostrel.equity(**EQ, bounties=[10, "x", 10]), ["equity", *FIELD, "--bounties", "10,x,10"]),
    (lambda: ostrel.equity(**EQ, bounties=[10, 10, float("inf")]), ["equity", *FIELD, "--bounties", "10,10,inf"]),
    (lambda: ostrel.equity(**EQ, bounties=[10, 10, 10], bounty_pool=20),
     ["equity", *FIELD, "--bounties", "10,10,10", "--bounty-pool", "20"]),
    (lambda: ostrel.equity(**EQ, bounty_pool=-5), ["equity", *FIELD, "--bounty-pool=-5"]),
    (lambda: ostrel.equity(**EQ, bounty_pool="lots"), ["equity", *FIELD, "--bounty-pool", "lots"]),
    (lambda: ostrel.deal(**EQ, bounties=[10, 10, 10]), ["deal", *FIELD, "--bounties", "10,10,10"]),
    (lambda: ostrel.deal(**EQ, deal_bounties=True), ["deal", *FIELD, "--deal-bounties"]),
    (lambda: ostrel.deal(**EQ, bounties=[10, 10], deal_bounties=True),
     ["deal", *FIELD, "--bounties", "10,10", "--deal-bounties"]),
    (lambda: ostrel.deal(**EQ, bounty_pool=-1, deal_bounties=True),
     ["deal", *FIELD, "--bounty-pool=-1", "--deal-bounties"]),
    (spot_of(bounties=[10, 10]), ["spot", *README_TYPED, *FACING_TYPED, "--bounties", "10,10"]),
    (spot_of(bounties=[10, -10, 10]), ["spot", *README_TYPED, *FACING_TYPED, "--bounties=10,-10,10"]),
    (spot_of(bounties=[10, 10, 10], bounty_share=1.5),
     ["spot", *README_TYPED, *FACING_TYPED, "--bounties", "10,10,10", "--bounty-share", "1.5"]),
    (spot_of(bounties=[10, 10, 10], bounty_share=-0.5),
     ["spot", *README_TYPED, *FACING_TYPED, "--bounties", "10,10,10", "--bounty-share=-0.5"]),
    (spot_of(bounties=[10, 10, 10], chips_per_unit=20),
     ["spot", *README_TYPED, *FACING_TYPED, "--bounties", "10,10,10", "--chips-per-unit", "20"]),
    (chip_spot_of(bounties=[10, 10, 10]), ["spot", *CHIP_TYPED, *FACING_TYPED, "--bounties", "10,10,10"]),
    (chip_spot_of(bounties=[10, 10, 10], chips_per_unit=0),
     ["spot", *CHIP_TYPED, *FACING_TYPED, "--bounties", "10,10,10", "--chips-per-unit", "0"]),
    (spot_of(bounties=[10, 10, 10], bounty_pool=25),
     ["spot", *README_TYPED, *FACING_TYPED, "--bounties", "10,10,10", "--bounty-pool", "25"]),
    (spot_of(bounty_pool=25), ["spot", *README_TYPED, *FACING_TYPED, "--bounty-pool", "25"]),
    (others_spot_of(bounties=[10, 10, 10]), ["spot", *OTHERS_TYPED, *FACING_TYPED, "--bounties", "10,10,10"]),
    (others_spot_of(bounties=[10, 10, 10], others_bounties=[10]),
     ["spot", *OTHERS_TYPED, *FACING_TYPED, "--bounties", "10,10,10", "--others-bounties", "10"]),
    (others_spot_of(bounties=[10, 10, 10], others_bounties=[10, 10], bounty_pool=60),
     ["spot", *OTHERS_TYPED, *FACING_TYPED, "--bounties", "10,10,10", "--others-bounties", "10,10",
      "--bounty-pool", "60"]),
    (others_spot_of(bounties=[10, 10, 10], others_bounties=[10, "ten"]),
     ["spot", *OTHERS_TYPED, *FACING_TYPED, "--bounties", "10,10,10", "--others-bounties", "10,ten"]),
    (lambda: ostrel.nash(ostrel.Table(**README_TABLE, bounties=[10, 10, 10], bounty_share=2)),
     ["nash", *README_TYPED, "--bounties", "10,10,10", "--bounty-share", "2"]),
    (lambda: ostrel.nash(ostrel.Table(**CHIP_TABLE, bounties=[10, 10, 10])),
     ["nash", *CHIP_TYPED, "--bounties", "10,10,10"]),
    (lambda: ostrel.nash(ostrel.Table(**README_TABLE, bounties=[10, 10, 10], bounty_pool=29.5)),
     ["nash", *README_TYPED, "--bounties", "10,10,10", "--bounty-pool", "29.5"]),
]


@pytest.mark.parametrize("call,arguments", WRONG)
def test_wrong_bounty_arguments_raise_the_commands_message(call, arguments):
    with pytest.raises(ValueError) as raised:
        call()
    assert str(raised.value) == command_error(*arguments)
