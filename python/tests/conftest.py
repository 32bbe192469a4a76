"""The command the module is checked against: OSTREL_ICM, else the one
./test builds, else the release build."""

import json
import os
import subprocess

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def _command_path():
    for path in (os.environ.get("OSTREL_ICM"), os.path.join(ROOT, "build", "native", "ostrel-icm"),
                 os.path.join(ROOT, "build", "command", "ostrel-icm")):
        if path and os.path.exists(path):
            return path
    pytest.exit("no ostrel-icm: build it (cmake --workflow --preset command) or set OSTREL_ICM", 2)


COMMAND = _command_path()
ERROR_PREFIX = "ostrel-icm: error: "


def run_command(*arguments):
    """The command's JSON answer, parsed (its doubles read back exactly)."""
    done = subprocess.run([COMMAND, *arguments, "--format", "json"], capture_output=True, text=True, cwd=ROOT)
    assert done.returncode == 0, done.stderr
    return json.loads(done.stdout)


def command_error(*arguments):
    """The command's one error line, without its program prefix."""
    done = subprocess.run([COMMAND, *arguments], capture_output=True, text=True, cwd=ROOT)
    assert done.returncode == 2, done.stdout
    line = done.stderr.strip().splitlines()[-1]
    assert line.startswith(ERROR_PREFIX), line
    return line[len(ERROR_PREFIX):]


def listed(values):
    return ",".join(str(v) for v in values)


def same_as_json(answer, expected):
    """Every field of the JSON on the answer: ranges as Range, the rest as
    the very values."""
    import ostrel

    for name, value in expected.items():
        if name == "range":
            assert answer.range == ostrel.Range(value) and str(answer.range) == value
        elif name == "decisions":
            for decision, wanted in zip(answer.decisions, value, strict=True):
                same_as_json(decision, wanted)
        else:
            assert getattr(answer, name) == value, name
