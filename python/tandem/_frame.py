"""pandas DataFrames of tandem's results: the curve of one resonance, and the catalogue of
tandem-scan. pandas is imported when one is asked for, so that the module works without it."""

from __future__ import annotations

import os
from typing import TYPE_CHECKING, Iterable, Optional, Tuple, Union

from . import _tandem

if TYPE_CHECKING:
    import pandas

_KINDS = ("none", "stable", "unstable")


def to_frame(result: _tandem.Result) -> "pandas.DataFrame":
    """to_frame() -> pandas.DataFrame

    The curve over sigma, one row per grid point (360): sigma (degrees), r, r_minus_rmin
    (M_sun au^2/day^2), min_distance_hill (closest approach over the cycle, mutual Hill
    radii), close_encounter (bool), equilibrium (categorical: none, stable, unstable) and
    period_years (the libration period, NaN where none was set). The columns are copies:
    the frame may be changed freely.
    """
    import pandas as pd

    return pd.DataFrame({
        "sigma": result.sigma.copy(),
        "r": result.r.copy(),
        "r_minus_rmin": result.r_minus_rmin.copy(),
        "min_distance_hill": result.min_distance_hill.copy(),
        "close_encounter": result.close_encounter.copy(),
        "equilibrium": pd.Categorical.from_codes(result._equilibrium_codes.astype("int8"),
                                                 categories=list(_KINDS)),
        "period_years": result.period_years.copy(),
    })


def _window_text(name, window):
    try:
        lo, hi = window
        lo, hi = float(lo), float(hi)
    except (TypeError, ValueError):
        raise TypeError(f"{name} must be a pair (lo, hi) of numbers, not {window!r}") from None
    return f"{lo!r}:{hi!r}"


def _whole(name, value):
    if isinstance(value, bool) or not isinstance(value, int):
        if isinstance(value, float) and value.is_integer():
            return int(value)
        raise TypeError(f"{name} must be a whole number, not {value!r}")
    return value


def scan(system: Union[_tandem.System, str, os.PathLike],
         resonances: Optional[Iterable[Tuple[int, int]]] = None, *,
         order: Union[int, Tuple[int, int], None] = None, max_k2: Optional[int] = None,
         a1: Optional[Tuple[float, float]] = None, a2: Optional[Tuple[float, float]] = None,
         ratio: Optional[Tuple[float, float]] = None, place: str = "planet1",
         threads: int = 0) -> "pandas.DataFrame":
    """scan(system, resonances=None, *, order=None, max_k2=None, a1=None, a2=None,
         ratio=None, place="planet1", threads=0) -> pandas.DataFrame

    The catalogue of tandem-scan as a DataFrame: one row per resonance, the program's
    columns in its order (index, total, name, k2, k1, order, a1_au, a2_au, period_ratio,
    mean_r, rmin, rmax, strength, amplitude, detectable, width_a1_au, width_a2_au, stable,
    unstable, close_encounters, min_distance_hill, placed), made by the program's own code:
    every real is the double the program's CSV writes, bit for bit; stable, unstable and
    close_encounters are the CSV's texts (343:344.2, 350-5).

    system      a System, or the path of a tandem.inp (whose line 1 fills the name column;
                for a System it is empty)
    resonances  a list of (K2, K1) pairs of whole numbers, 1 <= K1 <= K2 <= 50; or None
                for an enumeration, as tandem-scan makes it, of every reduced K2:K1 whose
                placed semi-major axis (a1, or a2 with place="planet2"), au, or period ratio
                K2/K1 lies in the window (lo, hi):
    order       the orders K2 - K1: n, or (min, max) (default every order, 0 to 49)
    max_k2      the largest K2 (default 50)
    place       "planet1" (put at exact resonance from planet 2's a, as the console program
                does) or "planet2" (planet 1 keeps its a; for bodies outside a planet)
    threads     0: every processor this process may run on. The rows do not depend on it.

    Raises ValueError with the program's words for what it refuses; KeyboardInterrupt
    stops the scan between two resonances. The GIL is released while it computes.

    >>> atlas = tandem.scan("examples/hilda-3-2/tandem.inp", a1=(3.0, 4.6), order=(1, 3))
    >>> atlas[["k2", "k1", "a1_au", "strength", "stable"]]
    """
    import pandas as pd

    name = ""
    if isinstance(system, (str, bytes, os.PathLike)):
        system, name = _tandem._read_input(system)
    elif not isinstance(system, _tandem.System):
        raise TypeError(f"system must be a tandem.System or the path of a tandem.inp, "
                        f"not {type(system).__name__}")
    texts = None
    if resonances is not None:
        texts = []
        for pair in resonances:
            try:
                k2, k1 = pair
            except (TypeError, ValueError):
                raise TypeError(f"a resonance must be a pair (K2, K1), not {pair!r}") from None
            if isinstance(k2, float) and not k2.is_integer() or \
                    isinstance(k1, float) and not k1.is_integer():
                texts.append(f"{k2!r}:{k1!r}")  # refused by the program's parser, in its words
            else:
                texts.append(f"{_whole('K2', k2)}:{_whole('K1', k1)}")
    windows = [(option, value) for option, value in (("--a1", a1), ("--a2", a2),
                                                     ("--ratio", ratio)) if value is not None]
    if len(windows) > 1:
        raise ValueError("give one window: a1, a2 or ratio")
    window_option, window = (windows[0][0], _window_text(windows[0][0][2:], windows[0][1])) \
        if windows else (None, "")
    order_text = None
    if order is not None:
        if isinstance(order, (tuple, list)) and len(order) == 2:
            order_text = f"{_whole('order', order[0])}-{_whole('order', order[1])}"
        else:
            order_text = str(_whole("order", order))
    if max_k2 is not None and _whole("max_k2", max_k2) == 0:
        raise ValueError("max_k2 0: K2 runs from 1 to at most 50")
    columns, rows = _tandem._scan_rows(system, name, texts, window_option, window, order_text,
                                       0 if max_k2 is None else max_k2, place, threads)
    frame = pd.DataFrame(rows, columns=columns)
    return frame
