"""What the Python package's tests share: the repository's folders and the real programs, whose
output several tests hold the package to."""

import os
import subprocess
from pathlib import Path

import pytest

REPOSITORY = Path(__file__).resolve().parents[2]
GOLDEN = REPOSITORY / "tests" / "data"
DIPOLE = REPOSITORY / "examples" / "dipole-80m.s1p"
# The golden reports were made at this local time (Mon Mar 01 2027 09:05:07).
GOLDEN_DATE = (2027, 3, 1, 9, 5, 7)


def program(name):
    """The path of a program of the build, from BANDMATCH_PROGRAMS (CTest names its folder)."""
    folder = Path(os.environ.get("BANDMATCH_PROGRAMS", REPOSITORY / "build"))
    path = folder / name
    if not path.exists():
        pytest.fail(f"{path} is not built; set BANDMATCH_PROGRAMS to the build folder")
    return str(path)


def run(arguments, cwd, stdin=None):
    """Runs a program to its end and gives its standard output; a failure fails the test."""
    done = subprocess.run(arguments, cwd=cwd, input=stdin, capture_output=True, text=True,
                          timeout=300)
    assert done.returncode == 0, done.stderr
    return done.stdout
