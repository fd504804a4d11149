"""Shared fixtures: the bundled examples run through the console program once per session."""
import os
import subprocess
import pathlib

import pytest

SOURCE = pathlib.Path(os.environ["TANDEM_SOURCE_DIR"])
PROGRAM = os.environ["TANDEM_EXE"]
EXAMPLES = sorted(p.name for p in (SOURCE / "examples").iterdir() if (p / "tandem.inp").exists())


def answer_of(example):
    text = (SOURCE / "examples" / example / "answer.txt").read_text()
    k2, k1 = text.replace(",", " ").split()[:2]
    return float(k2), float(k1)


@pytest.fixture(scope="session")
def program_runs(tmp_path_factory):
    """example -> directory where the console program ran it (tandem.inp, rsigma.dat, resonance.dat)."""
    runs = {}
    for example in EXAMPLES:
        work = tmp_path_factory.mktemp(example)
        source = SOURCE / "examples" / example
        (work / "tandem.inp").write_bytes((source / "tandem.inp").read_bytes())
        with open(source / "answer.txt", "rb") as answer:
            subprocess.run([PROGRAM], cwd=work, stdin=answer, stdout=subprocess.DEVNULL, check=True)
        runs[example] = work
    return runs
