"""tandem.verify: the library's N-body check, reached from Python with its types."""

import math

import numpy as np
import pytest

import tandem


def circular_trojan():
    return tandem.System(star_mass=1.0,
                         planet1=tandem.Planet(a=5.2, e=0.0, i=0.0, node=0.0, peri=0.0, mass=1e-10),
                         planet2=tandem.Planet(a=5.2, e=0.0, i=0.0, node=0.0, peri=0.0, mass=9.5e-4))


def test_trojan_points_are_confirmed_with_their_series():
    res = tandem.solve(circular_trojan(), k2=1, k1=1)
    got = tandem.verify(res, series=True)
    assert [round(v.sigma_deg) for v in got] == [60, 300]
    for v in got:
        assert v.verdict == tandem.Verdict.confirmed and v.verdict.name == "confirmed"
        assert v.stop == tandem.StopReason.completed
        assert v.period_ratio == pytest.approx(1, abs=0.02)
        assert v.energy_error < 1e-9
        assert v.series.shape[1] == 3 and v.series.shape[0] > 100
        assert np.all(np.diff(v.series[:, 0]) > 0)
    # One sigma of the caller's, here L3: left at once.
    (l3,) = tandem.verify(res, sigma=180.0, periods=3)
    assert l3.verdict != tandem.Verdict.confirmed
    assert l3.series.shape == (0, 3)


def test_refusals_are_value_errors():
    res = tandem.solve(circular_trojan(), k2=1.5, k1=1)
    with pytest.raises(ValueError, match="whole"):
        tandem.verify(res)
    with pytest.raises(ValueError):
        tandem.verify(tandem.solve(circular_trojan(), k2=1, k1=1), periods=-1)
    with pytest.raises(TypeError):
        tandem.verify(res, sigma="60")


def test_a_huge_sigma_or_offset_is_the_angle_it_stands_for():
    res = tandem.solve(circular_trojan(), k2=1, k1=1)
    for sigma, offset in [(1e308, 5.0), (60.0, 1e308), (-1e17, -5.0)]:
        (huge,) = tandem.verify(res, sigma=sigma, offset=offset, periods=2)
        (plain,) = tandem.verify(res, sigma=math.fmod(sigma, 360) % 360,
                                 offset=math.remainder(offset, 360), periods=2)
        assert (huge.sigma_deg, huge.verdict, huge.start_sigma_deg) == \
            (plain.sigma_deg, plain.verdict, plain.start_sigma_deg)
        assert huge.measured_centre_deg == plain.measured_centre_deg or \
            (math.isnan(huge.measured_centre_deg) and math.isnan(plain.measured_centre_deg))
