"""The picture of a result: R(sigma) - Rmin with its equilibria and close-encounter bands."""

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


def plot(result, ax=None):
    """plot(result, ax=None) -> matplotlib.figure.Figure

    Draw R(sigma) - Rmin against sigma (0 to 360 degrees): stable equilibria as filled
    circles labelled with their libration period, unstable ones as open circles, and the
    values of sigma where the planets come closer than three mutual Hill radii shaded.
    Draws into ``ax`` when given, else into a new figure (no pyplot state is touched, so it
    works with any backend, Agg included). Returns the figure.
    """
    if ax is None:
        from matplotlib.figure import Figure

        fig = Figure(figsize=(8, 4.5))
        ax = fig.add_subplot()
    else:
        fig = ax.figure
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
