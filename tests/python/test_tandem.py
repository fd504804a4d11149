"""The Python module against the console program: the same numbers, the same files, the same
refusals. The program's files are the reference: they are what every earlier comparison
(with the independent evaluation of tests/reference) has checked."""
import threading

import numpy as np
import pytest

import tandem
from conftest import EXAMPLES, SOURCE, answer_of


def e16_8(x):
    """An E16.8 field as the table prints it, rendered here independently of the C++ code."""
    if x == 0:
        return "  0.00000000E+00"
    mantissa, exponent = f"{abs(x):.7e}".split("e")
    power = int(exponent) + 1
    tail = f"E{power:+03d}" if abs(power) <= 99 else f"{power:+04d}"
    return (("-" if x < 0 else "") + "0." + mantissa.replace(".", "") + tail).rjust(16)


def solved(example, threads=0):
    system = tandem.read_input(SOURCE / "examples" / example / "tandem.inp")
    k2, k1 = answer_of(example)
    return tandem.solve(system, k2=k2, k1=k1, threads=threads)


@pytest.mark.parametrize("example", EXAMPLES)
def test_arrays_and_files_equal_the_programs(example, program_runs, tmp_path):
    res = solved(example)
    rows = (program_runs[example] / "rsigma.dat").read_text().splitlines()[1:]
    assert len(rows) == len(res.sigma) == tandem.grid_points
    stable = {q.sigma: q for q in res.equilibria if q.stable}
    for row, sigma, above, close, period in zip(rows, res.sigma, res.r_minus_rmin,
                                                res.close_encounter, res.period_years):
        assert float(row[0:7]) == sigma
        assert row[7:23] == e16_8(above)
        assert (row[23:33] == " CLOSE ENC") == bool(close)
        assert (row[33:43] == " E. STABLE") == (sigma in stable)
        assert (len(row) == 59) == (not np.isnan(period))  # NaN: no period, none printed
        if len(row) == 59:
            assert row[43:59] == e16_8(period)
    res.write_files(tmp_path)
    for name in ("rsigma.dat", "resonance.dat"):
        assert (tmp_path / name).read_bytes() == (program_runs[example] / name).read_bytes(), name


def test_one_thread_and_all_agree_bit_for_bit():
    one, every = solved("eccentric-inclined-3-2", threads=1), solved("eccentric-inclined-3-2")
    for name in ("r", "r_minus_rmin", "min_distance", "period_years"):
        assert np.array_equal(getattr(one, name).view(np.uint64), getattr(every, name).view(np.uint64))
    assert np.array_equal(one.close_encounter, every.close_encounter)
    assert one.equilibria == every.equilibria
    assert (one.strength, one.width_a1, one.width_a2) == (every.strength, every.width_a1, every.width_a2)


def hilda(**planet1):
    p1 = dict(a=3.97, e=0.10, i=5.0, node=100.0, peri=30.0, mass=1e-9)
    p1.update(planet1)
    return tandem.System(star_mass=1.0, planet1=tandem.Planet(**p1),
                         planet2=tandem.Planet(a=5.2, e=0.048, i=1.3, node=100.5, peri=14.7,
                                               mass=9.5e-4))


@pytest.mark.parametrize("system, k2, k1, words", [
    (hilda(e=1.5), 3, 2, "the eccentricity of planet 1 must lie in 0 <= e < 1, but it is 1.5"),
    (hilda(mass=0.0), 3, 2, "the mass of planet 1 must be positive, but it is 0"),
    (hilda(node=float("inf")), 3, 2,
     "the longitude of the node of planet 1 must be a finite number, but it is Infinity"),
    (hilda(), 2, 3, "I SAID K2 >= K1"),
    (hilda(), 3, 0, "K1 MUST BE > 0"),
    (hilda(), 0.9, 0.5, "K2 MUST BE >= 1"),
    (hilda(), 51, 2, "K2 MUST BE BELOW 51"),
    (hilda(), float("nan"), 2, "K2 AND K1 MUST BE FINITE"),
])
def test_refusals_carry_the_programs_words(system, k2, k1, words):
    with pytest.raises(ValueError) as refused:
        tandem.solve(system, k2=k2, k1=k1)
    assert str(refused.value) == words
    assert tandem.validate(system, k2, k1) == words


def test_wrong_types_and_unreadable_or_malformed_files(tmp_path):
    with pytest.raises(TypeError):
        tandem.Planet(a="3.97", e=0.1, i=5.0, node=100.0, peri=30.0, mass=1e-9)
    with pytest.raises(TypeError):
        tandem.solve(hilda(), k2="3", k1=2)
    with pytest.raises(ValueError, match="threads must be 0"):
        tandem.solve(hilda(), k2=3, k1=2, threads=-5)  # the right type, a wrong value
    with pytest.raises(FileNotFoundError):
        tandem.read_input(tmp_path / "missing.inp")
    short = tmp_path / "short.inp"
    short.write_text("star\n1.0\nelements\n3.97 0.1 5 100 30 1e-9\n")
    with pytest.raises(ValueError, match="short.inp: line 5, the semi-major axis of planet 2: "
                                         "list in: end of file"):
        tandem.read_input(short)
    refused = tmp_path / "refused.inp"
    refused.write_text("star\n1.0\nc\n3.97 0.1 5 100 30 1e-9\n5.2 1.0 1.3 100.5 14.7 9.5e-4\n")
    with pytest.raises(ValueError, match="line 5: the eccentricity of planet 2 must lie in 0 <= e < 1"):
        tandem.read_input(refused)


def test_solve_lets_other_threads_run():
    # A 20:19 grid takes a good fraction of a second; with the GIL held the counting
    # thread would stand still until it is done.
    done = threading.Event()
    counted = 0

    def compute():
        tandem.solve(hilda(), k2=20, k1=19, threads=1)
        done.set()

    worker = threading.Thread(target=compute)
    worker.start()
    while not done.is_set():
        counted += 1
    worker.join()
    assert counted > 10000


def test_plot_draws_the_curve_and_its_points(tmp_path):
    import matplotlib
    matplotlib.use("Agg")
    res = solved("trojan-1-1")
    fig = tandem.plot(res)
    ax = fig.axes[0]
    assert ax.lines[0].get_ydata().tolist() == res.r_minus_rmin.tolist()
    assert len(ax.lines) == 1 + len(res.equilibria)
    assert len(ax.patches) >= 1  # the close-encounter band near 0 degrees
    fig.savefig(tmp_path / "trojan.png")
    assert (tmp_path / "trojan.png").read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"


def test_every_public_name_is_documented():
    for name in tandem.__all__:
        if not name.startswith("_") and name != "grid_points":
            assert getattr(tandem, name).__doc__, name
    assert "solve(system, k2, k1, threads=0)" in tandem.solve.__doc__


@pytest.mark.parametrize("example", ["hilda-3-2", "eccentric-inclined-3-2"])
def test_whole_result_equals_the_independent_evaluation(example, tmp_path):
    """Every value of the result, printed or not, bit for bit against tests/reference."""
    import json
    import subprocess
    import sys
    k2, k1 = answer_of(example)
    subprocess.run([sys.executable, str(SOURCE / "tests" / "reference" / "tandem_reference.py"),
                    str(SOURCE / "examples" / example / "tandem.inp"), repr(k2), repr(k1),
                    str(tmp_path)], check=True)
    want = json.loads((tmp_path / "result.json").read_text())
    res = solved(example)
    for name, value in want.items():
        got = getattr(res, name, None)
        if name == "equilibrium":
            kinds = {q.sigma: "stable" if q.stable else "unstable" for q in res.equilibria}
            got = [kinds.get(s, "none") for s in res.sigma]
        if name == "period_years":
            got = np.where(np.isnan(got), 0.0, got)  # the evaluation's 0 where none is set
        if isinstance(value, list):
            assert list(got) == value, name  # floats compare exactly; NaN would show as unequal
        else:
            assert got == value, name
