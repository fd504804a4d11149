"""What Python users expect of the module: DataFrames (the curve, and tandem-scan's catalogue
bit for bit against the program's CSV), read-only arrays owned by their result, NaN for a
number that is not there, and types that pickle and cross to another process."""
import concurrent.futures
import csv
import os
import pickle
import struct
import subprocess

import numpy as np
import pytest

import tandem
from conftest import SOURCE

HILDA = SOURCE / "examples" / "hilda-3-2" / "tandem.inp"


def bits(x):
    return struct.pack("<d", x)


def program_catalogue(tmp_path, *args):
    out = tmp_path / "catalogue.csv"
    subprocess.run([os.environ["TANDEM_SCAN_EXE"], *args, "--output", str(out)], check=True)
    with open(out, newline="") as f:
        return list(csv.reader(f))


@pytest.mark.parametrize("args, kwargs", [
    (["--input", str(HILDA), "--a1", "3.4:4.3", "--order", "1-2"],
     dict(a1=(3.4, 4.3), order=(1, 2))),
    (["--input", str(HILDA), "--place", "planet2", "5:2", "3:2", "1:1"],
     dict(resonances=[(5, 2), (3, 2), (1, 1)], place="planet2")),
])
def test_scan_is_the_programs_catalogue_bit_for_bit(args, kwargs, tmp_path):
    header, *rows = program_catalogue(tmp_path, *args)
    frame = tandem.scan(HILDA, threads=2, **kwargs)
    assert list(frame.columns) == header
    assert len(frame) == len(rows) > 1
    for column, want in zip(header, zip(*rows)):
        got = frame[column].tolist()
        kind = frame[column].dtype.kind
        if kind == "f":
            assert [bits(x) for x in got] == [bits(float(w)) for w in want], column
        elif kind == "i":
            assert got == [int(w) for w in want], column
        elif kind == "b":
            assert got == [w == "true" for w in want], column
        else:
            assert got == list(want), column


def test_scan_refuses_in_the_programs_words():
    system = tandem.read_input(HILDA)
    with pytest.raises(ValueError, match="K2 and K1 must be whole numbers"):
        tandem.scan(system, [(3.5, 2)])
    with pytest.raises(ValueError, match="K2 must be at least K1"):
        tandem.scan(system, [(2, 3)])
    with pytest.raises(ValueError, match="the window needs 0 < LO <= HI"):
        tandem.scan(system, a1=(4.0, 3.0))
    with pytest.raises(ValueError, match="not both"):
        tandem.scan(system, [(3, 2)], order=1)
    with pytest.raises(ValueError, match="needs place='planet2'"):
        tandem.scan(system, a2=(6, 7))
    with pytest.raises(TypeError):
        tandem.scan(3.0, [(3, 2)])
    assert tandem.scan(system, a1=(3.4, 3.41), max_k2=2).empty


def test_curve_frame_arrays_and_missing_periods():
    res = tandem.solve(tandem.read_input(HILDA), k2=3, k1=2)
    frame = res.to_frame()
    assert len(frame) == tandem.grid_points
    for column, values in (("sigma", res.sigma), ("r", res.r), ("r_minus_rmin", res.r_minus_rmin),
                           ("min_distance_hill", res.min_distance)):
        assert np.array_equal(frame[column].to_numpy().view(np.uint64), values.view(np.uint64))
    labelled = frame[frame.equilibrium != "none"]
    assert [(s, k == "stable") for s, k in zip(labelled.sigma, labelled.equilibrium)] == \
        [(q.sigma, q.stable) for q in res.equilibria]
    # A period where the console program prints one, NaN elsewhere, in arrays and points alike.
    periods = frame.period_years.to_numpy()
    for q in res.equilibria:
        assert np.isnan(q.period_years) == np.isnan(periods[int(q.sigma)])
    assert np.isnan(periods).sum() == tandem.grid_points - sum(not np.isnan(q.period_years)
                                                               for q in res.equilibria)
    frame.loc[0, "r"] = 1.0  # the frame is the caller's; the result is not touched
    assert res.r[0] != 1.0
    # Arrays are read-only views that keep their result alive.
    with pytest.raises(ValueError, match="read-only"):
        res.r[0] = 1.0
    r, first = res.r, res.r[0]
    del res
    assert r[0] == first and not r.flags.writeable and not r.flags.owndata


def solve_elsewhere(system):
    return tandem.solve(system, k2=1, k1=1, threads=1)


def test_results_pickle_and_cross_processes_bit_for_bit():
    system = tandem.System(star_mass=1.0,
                           planet1=tandem.Planet(a=5.2, e=0.0, i=0.0, node=0.0, peri=0.0, mass=1e-10),
                           planet2=tandem.Planet(a=5.2, e=0.0, i=0.0, node=0.0, peri=0.0, mass=9.5e-4))
    here = tandem.solve(system, k2=1, k1=1, threads=1)
    with concurrent.futures.ProcessPoolExecutor(max_workers=1) as pool:
        there = pool.submit(solve_elsewhere, system).result()
    for got in (there, pickle.loads(pickle.dumps(here))):
        for name in ("sigma", "r", "r_minus_rmin", "min_distance_hill", "close_encounter",
                     "period_years", "_equilibrium_codes"):
            assert getattr(got, name).tobytes() == getattr(here, name).tobytes(), name
        assert got.system == system and got.equilibria == here.equilibria
        assert [bits(getattr(got, n)) for n in ("a1_au", "hii", "strength", "width_a2_au")] == \
            [bits(getattr(here, n)) for n in ("a1_au", "hii", "strength", "width_a2_au")]
    checked = tandem.verify(here, sigma=60.0, periods=1, series=True)[0]
    back = pickle.loads(pickle.dumps(checked))
    assert back.series.tobytes() == checked.series.tobytes()
    assert (back.verdict, back.stop, back.steps, bits(back.energy_error)) == \
        (checked.verdict, checked.stop, checked.steps, bits(checked.energy_error))
