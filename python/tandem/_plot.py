"""The pictures of a result: R(sigma) - Rmin with its equilibria and close-encounter bands,
and the phase portrait of the averaged model in the (sigma, a1) plane."""

import math


def _bands(flags):
    """Runs of consecutive grid points with a close encounter, as (first, last) sigma."""
    bands = []
    start = None
    for i, close in enumerate(flags):
        if close and start is None:
            start = i
        if not close and start is not None:
            bands.append((start, i - 1))
            start = None
    if start is not None:
        bands.append((start, len(flags) - 1))
    return bands


def plot(result, ax=None, kind="curve"):
    """plot(result, ax=None, kind="curve") -> matplotlib.figure.Figure

    kind="curve": R(sigma) - Rmin against sigma (0 to 360 degrees): stable equilibria as
    filled circles labelled with their libration period, unstable ones as open circles, and
    the values of sigma where the planets come closer than three mutual Hill radii shaded.

    kind="phase": the level curves of the averaged model H = hii*Sigma^2/2 + R(sigma) in
    the (sigma, a1) plane, the motion it predicts: the separatrices (the levels through the
    maxima of R) bold, the stable points marked, the close-encounter bands shaded.

    Draws into ``ax`` when given, else into a new figure (no pyplot state is touched, so it
    works with any backend, Agg included). Returns the figure.
    """
    if kind not in ("curve", "phase"):
        raise ValueError(f"kind must be 'curve' or 'phase', not {kind!r}")
    if ax is None:
        from matplotlib.figure import Figure

        fig = Figure(figsize=(8, 4.5))
        ax = fig.add_subplot()
    else:
        fig = ax.figure
    if kind == "phase":
        _phase(result, ax)
        return fig
    sigma = result.sigma
    curve = result.r_minus_rmin
    for first, last in _bands(result.close_encounter):
        ax.axvspan(first - 0.5, last + 0.5, color="tab:red", alpha=0.15, lw=0)
    ax.plot(sigma, curve, color="tab:blue", lw=1.2, label="R - Rmin")
    for eq in result.equilibria:
        y = curve[int(round(eq.sigma))]
        if eq.stable:
            ax.plot([eq.sigma], [y], "o", color="tab:green", ms=6)
            if not math.isnan(eq.period_years):
                # Labels near 360 degrees go to the left of their point, inside the axes.
                right = eq.sigma < 300
                ax.annotate(f"{eq.period_years:.4g} yr", (eq.sigma, y), textcoords="offset points",
                            xytext=(4 if right else -4, 8), ha="left" if right else "right",
                            fontsize=8)
        else:
            ax.plot([eq.sigma], [y], "o", mfc="none", color="tab:orange", ms=6)
    ax.set_xlim(0, 360)
    ax.set_xticks(range(0, 361, 60))
    ax.set_xlabel("sigma (degrees)")
    ax.set_ylabel("R - Rmin (M_sun au^2/day^2)")
    k2, k1 = result.k2, result.k1
    title = f"{k2:g}:{k1:g} resonance, strength {result.strength:.4g}"
    if not result.detectable:
        title += " (undetectable)"
    ax.set_title(title)
    return fig


def _phase(result, ax):
    import numpy as np

    ps = result.phase_space()
    for first, last in _bands(result.close_encounter):
        ax.axvspan(first - 0.5, last + 0.5, color="tab:red", alpha=0.15, lw=0)
    maxima = ps.maxima
    if ps.flat or not maxima:
        half = 1e-3 * ps.a1
        top = None
    else:
        # The a1 extent of the outermost separatrix, the level through the highest maximum.
        top = max(maxima, key=lambda m: m[1])
        outer = result.trajectory(top[0])
        half = 1.25 * max(ps.a1 - outer.a1_min, outer.a1_max - ps.a1, 1e-12 * ps.a1)
    sigma = np.linspace(0.0, 360.0, 721)
    a1 = np.linspace(ps.a1 - half, ps.a1 + half, 401)
    s_grid, a_grid = np.meshgrid(sigma, a1)
    h = ps.energy(s_grid.ravel(), a_grid.ravel()).reshape(s_grid.shape)
    levels = np.linspace(h.min(), h.max(), 24)[1:-1]
    ax.contour(s_grid, a_grid, h, levels=levels, colors="0.55", linewidths=0.6)
    if top is not None:
        separatrices = sorted({m[1] for m in maxima})
        ax.contour(s_grid, a_grid, h, levels=separatrices, colors="black", linewidths=1.8)
    for z in ps.zones:
        ax.plot([z.sigma], [ps.a1], "o", color="tab:green", ms=6)
    ax.set_xlim(0, 360)
    ax.set_ylim(a1[0], a1[-1])
    ax.set_xticks(range(0, 361, 60))
    ax.set_xlabel("sigma (degrees)")
    ax.set_ylabel("a1 (au)")
    title = f"{result.k2:g}:{result.k1:g} resonance, phase space of the averaged model"
    if ps.flat:
        title += " (undetectable: sigma circulates)"
    ax.set_title(title)
