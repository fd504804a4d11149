"""The phase space from Python: zones, trajectories and the phase picture of the Trojan."""
import math

import pytest

import tandem
from conftest import SOURCE


@pytest.fixture(scope="module")
def trojan():
    return tandem.solve(tandem.read_input(SOURCE / "examples" / "trojan-1-1" / "tandem.inp"), 1, 1)


def test_zones_and_trajectories_of_the_trojan(trojan):
    zones = {z.equilibrium: z for z in trojan.zones}
    l4, l5 = zones[60.0], zones[300.0]
    # Tadpoles bounded by the barrier at L3, merging above it into a horseshoe about both.
    assert abs(l4.barrier_sigma - 180) < 1 and l4.barrier == l5.barrier
    assert 20 < l4.sigma_min < 27 and l4.sigma_max == l4.barrier_sigma
    assert l4.horseshoe_with == [l5.sigma] and l4.horseshoe_close_encounter
    assert 0 < l4.width_a1 < trojan.width_a1

    # The period grows with the amplitude from the small-amplitude one.
    periods = [trojan.period_at(l4.sigma + offset) for offset in (5, 20, 40, 60)]
    assert l4.small_amplitude_period_years < periods[0] < periods[1] < periods[2] < periods[3]
    t = trojan.trajectory(l4.sigma + 40)
    assert (t.regime, t.centre, t.centres) == ("libration", l4.sigma, [l4.sigma])
    assert t.sigma_max == l4.sigma + 40 and t.sigma_min < l4.sigma - 20
    assert t.a1_min < trojan.a1 < t.a1_max and t.period_years == periods[2]

    shoe = trojan.trajectory(180, a1=trojan.a1 + 0.05)
    assert shoe.regime == "horseshoe" and shoe.centre is None
    assert shoe.centres == [l4.sigma, l5.sigma]
    # Planet 2 (Jupiter) far off exact resonance: sigma circulates, across the close band.
    far = trojan.trajectory(60, a2=trojan.a2 * (1 + 1e-6))
    assert far.regime == "circulation" and far.sigma_min is None and far.close_encounter
    # On the separatrix through L3 there is no period.
    top = trojan.trajectory(l4.barrier_sigma)
    assert top.period_years is None and top.period_state == "near separatrix"

    with pytest.raises(ValueError):
        trojan.trajectory(60, a1=5.0, a2=5.2)
    with pytest.raises(ValueError):
        trojan.trajectory(math.nan)


def test_phase_picture(trojan, tmp_path):
    import matplotlib

    matplotlib.use("Agg")
    fig = tandem.plot(trojan, kind="phase")
    ax = fig.axes[0]
    assert ax.get_ylabel() == "a1 (au)" and ax.get_ylim()[0] < trojan.a1 < ax.get_ylim()[1]
    fig.savefig(tmp_path / "phase.png")
    assert (tmp_path / "phase.png").stat().st_size > 10000
    with pytest.raises(ValueError):
        tandem.plot(trojan, kind="phases")
