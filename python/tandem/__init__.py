"""tandem: the resonant disturbing function R(sigma) of two planets near a K2:K1
mean-motion resonance, computed numerically (no series expansion) by the same C++ code as
the console program ``tandem``, bit for bit.

Angles in degrees, masses in solar masses, distances in au, periods in years, R in
M_sun au^2/day^2.

>>> import tandem
>>> system = tandem.System(star_mass=1.0,
...     planet1=tandem.Planet(a=3.97, e=0.10, i=5.0, node=100.0, peri=30.0, mass=1e-9),
...     planet2=tandem.Planet(a=5.2, e=0.048, i=1.3, node=100.5, peri=14.7, mass=9.5e-4))
>>> res = tandem.solve(system, k2=3, k1=2)
>>> res.strength, res.equilibria
>>> res.to_frame()                         # the curve, one row per sigma (pandas)
>>> tandem.scan(system, a1=(3.0, 4.6), order=(1, 3))   # tandem-scan's catalogue

A number that is not there is NaN (a libration period where none was set, what an N-body
run did not show); arrays are read-only views owned by their result; every type pickles.
"""

from ._tandem import (
    Equilibrium,
    PhaseSpace,
    Planet,
    Result,
    StopReason,
    System,
    Trajectory,
    Verdict,
    Verification,
    Zone,
    __version__,
    grid_points,
    read_bodies,
    read_input,
    solve,
    survey,
    validate,
    verify,
)
from ._frame import scan, to_frame as _to_frame
from ._plot import plot

Result.to_frame = _to_frame

__all__ = [
    "Equilibrium",
    "PhaseSpace",
    "Planet",
    "Result",
    "StopReason",
    "System",
    "Trajectory",
    "Verdict",
    "Verification",
    "Zone",
    "read_bodies",
    "survey",
    "__version__",
    "grid_points",
    "plot",
    "read_input",
    "scan",
    "solve",
    "validate",
    "verify",
]
