"""tandem.read_bodies and tandem.survey on the bundled excerpt of the MPC's Distant.txt."""
import os
import pathlib

import pytest

import tandem

EXCERPT = pathlib.Path(os.environ.get("TANDEM_SOURCE_DIR", ".")) / "examples/survey-tnos/distant-excerpt.txt"

COLUMNS = ["body", "epoch_jd", "perturber", "side", "k2", "k1", "order", "a_au", "e", "i_deg",
           "a_res_au", "delta_a_au", "strength", "width_au", "phi_deg", "sigma_deg",
           "model_regime", "model_centre_deg", "model_phi_min_deg", "model_phi_max_deg",
           "model_amplitude_deg", "model_period_years", "close_encounter", "stable_phi_deg",
           "pendulum_zone", "zones_phi_deg"]


def test_read_bodies_decodes_the_mpc_rows_and_warns_about_a_bad_one(tmp_path):
    bodies = tandem.read_bodies(EXCERPT)
    assert len(bodies) == 15
    pluto = bodies.iloc[0]
    assert (pluto["name"], pluto["epoch_jd"], pluto["a_au"], pluto["e"]) == (
        "(134340) Pluto", 2458600.5, 39.8461085, 0.2537532)
    lines = EXCERPT.read_text().splitlines()
    broken = lines[1][:92] + "   x" + lines[1][96:]  # the semi-major axis, columns 93-103
    (tmp_path / "bad.txt").write_text(lines[0] + "\n" + broken + "\n")
    with pytest.warns(UserWarning, match="bad.txt:2: field a"):
        assert len(tandem.read_bodies(tmp_path / "bad.txt")) == 1


def test_survey_columns_verdicts_and_threads():
    bodies = tandem.read_bodies(EXCERPT)
    best = tandem.survey(bodies, max_k2=6, best=True)
    assert list(best.columns) == COLUMNS
    verdict = {b: (k2, k1) for b, k2, k1 in zip(best["body"], best["k2"], best["k1"])}
    assert verdict["(134340) Pluto"] == (3, 2)
    assert verdict["(20161) 1996 TR66"] == (2, 1)
    by_body = best.set_index("body")
    assert by_body.loc["(134340) Pluto", "model_regime"] == "libration"
    assert abs(by_body.loc["(134340) Pluto", "model_centre_deg"] - 180) < 5
    assert by_body.loc["(50000) Quaoar", "model_regime"] is None
    one = tandem.survey(bodies, max_k2=6, threads=1)
    two = tandem.survey(bodies, max_k2=6, threads=2)
    assert one.equals(two)
    with pytest.raises(ValueError):
        tandem.survey(bodies, elements="sideways")


def test_survey_with_the_nbody_check():
    # Pluto librates in 3:2 about 180 degrees; Quaoar, a classical object, in none of its
    # candidates. 40 000 years with Neptune: two of Pluto's librations.
    bodies = tandem.read_bodies(EXCERPT)
    pick = bodies[bodies["name"].isin(["(134340) Pluto", "(50000) Quaoar"])]
    rows = tandem.survey(pick, max_k2=6, nbody=True, length=40000.0, threads=2)
    assert list(rows.columns)[len(COLUMNS):] == [
        "nbody_length_years", "nbody_fraction", "nbody_centre_deg", "nbody_amplitude_deg",
        "nbody_period_years", "nbody_stop", "nbody_flags", "verdict"]
    pluto = rows[(rows["body"] == "(134340) Pluto") & (rows["k2"] == 3) & (rows["k1"] == 2)].iloc[0]
    assert pluto["verdict"] == "resonant" and pluto["nbody_stop"] == "completed"
    assert abs(pluto["nbody_centre_deg"] - 180) < 10
    assert (rows[rows["body"] == "(50000) Quaoar"]["verdict"] != "resonant").all()
    with pytest.raises(ValueError):
        tandem.survey(pick, nbody=True, length=-1.0)
    with pytest.raises(ValueError):
        tandem.survey(pick, nbody=True, length=1e308)
