"""The guide docs/python.md as written: every Python block runs in order in one session, the
worked example prints what the guide says it prints, and its worst |Gamma| before and after
tuning are the ones the command-line chain prints for the same steps."""

import contextlib
import io
import os
import re

from conftest import DIPOLE, REPOSITORY, program, run

GUIDE = REPOSITORY / "docs" / "python.md"


def test_the_guides_example_runs_as_written_and_agrees_with_the_programs(tmp_path):
    text = GUIDE.read_text()
    blocks = re.findall(r"```python\n(.*?)```", text, re.S)
    assert len(blocks) >= 2
    (tmp_path / "examples").symlink_to(REPOSITORY / "examples")
    printed = []
    namespace = {}
    home = os.getcwd()
    os.chdir(tmp_path)
    try:
        for number, block in enumerate(blocks):
            output = io.StringIO()
            with contextlib.redirect_stdout(output):
                exec(compile(block, f"{GUIDE}, Python block {number + 1}", "exec"), namespace)
            printed.append(output.getvalue())
    finally:
        os.chdir(home)

    example = next(out for out in printed if "worst |Gamma| on the measured load" in out)
    claimed = re.search(r"It prints\n\n```text\n(.*?)```", text, re.S).group(1)
    assert example == claimed
    assert (tmp_path / "scratch" / "dipole-80m-tuned.png").stat().st_size > 10000

    answers = run([program("bandmatch-fit"), str(DIPOLE), "3.5", "4.0", "--answers", "3",
                   "--name", "ant"], cwd=tmp_path)
    run([program("bandmatch")], cwd=tmp_path, stdin=answers)
    table = run([program("bandmatch-tune"), "ant.csv", "--load", str(DIPOLE)], cwd=tmp_path)
    untuned = re.search(r"^untuned on the measured load +(\S+)", table, re.M).group(1)
    tuned = re.search(r"^tuned on the measured load +(\S+)", table, re.M).group(1)
    assert f"untuned {untuned}, tuned {tuned}\n" in example
