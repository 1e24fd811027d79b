#!/usr/bin/env python3
"""Reference figures for the block-maxima statistics (src/stats), computed independently with scipy.

Run with a python3 that has numpy and scipy (Debian: python3-scipy):

    python3 tools/stats_reference.py                    # print every reference figure
    python3 tools/stats_reference.py --write-fixtures   # (re)write tests/fixtures/stats/*.txt,
                                                        # reference.txt among them

The fixtures are drawn from known distributions with fixed seeds and rounded to two decimals, as a
simulation prints its load effects; the test reads the same text, so both sides fit the same
numbers. Every fit here is careful: Nelder-Mead from many starts with tight tolerances, polished
by Newton steps on a fourth-order finite-difference gradient and Hessian, then confirmed on a
grid around the optimum and on a profile over the whole range of shapes. The distributions are
scipy's own (genextreme's c is minus our xi). Standard errors come from the inverse of that
finite-difference Hessian; profile bounds from brentq on the profile deviance, each profile point
itself a careful two-parameter fit.
"""

import argparse
import math
import pathlib
import sys
import warnings

import numpy as np
import scipy
from scipy import optimize, stats

warnings.filterwarnings("ignore")
ROOT = pathlib.Path(__file__).resolve().parent.parent
FIXTURES = ROOT / "tests" / "fixtures" / "stats"
CHI2 = stats.chi2.ppf(0.95, 1)
Z975 = stats.norm.ppf(0.975)

# name: (generator, seed, n, blocks per year, all blocks, distribution parameters)
DRAWS = {
    "gev_bounded": dict(seed=11, n=300, B=250, blocks=320, mu=1000.0, sigma=50.0, xi=-0.2),
    "gev_heavy": dict(seed=12, n=300, B=50, blocks=300, mu=500.0, sigma=30.0, xi=0.1),
    "gumbel": dict(seed=13, n=200, B=10, blocks=250, mu=200.0, sigma=15.0, xi=0.0),
    # Few maxima: the GEV's profile is far from quadratic, and both bounds need the walk.
    "gev_short": dict(seed=64, n=25, B=250, blocks=27, mu=100.0, sigma=10.0, xi=-0.2),
}
TRAP = dict(n=100, B=250, mu=100.0, sigma=10.0, xi=-0.2)
# A short sample whose ten-million-year level has no upper profile bound within a million standard
# deviations of the maxima from the estimate, where the search for one stops.
UNBOUNDED = dict(seed=17, n=12, B=250, T=1e7, mu=100.0, sigma=10.0, xi=0.5)
# Large enough that the fit searches a subsample first: the fit alone.
LARGE = dict(seed=14, n=3000, mu=2000.0, sigma=80.0, xi=-0.1)
# A sample from a shape below -1: the likelihood rises without bound towards xi = -1.
FLOOR = dict(seed=21, n=30, mu=100.0, sigma=10.0, xi=-1.4)
SHAPE_FLOOR, SHAPE_CEILING = -1.0, 2.0
PERIODS = (100.0, 1000.0)
REFERENCE_HEADER = """\
# name, blocks a year, all blocks; then the Gumbel's and the GEV's mu, sigma, xi, nll, their
# standard errors, the 100- and 1000-year levels, the 1000-year level's standard error and its
# profile bounds (none: no bound); then the likelihood ratio's statistic and p-value."""


def g17(v):
    return "nullopt" if v is None else f"{v:.17g}"


def draw(seed, n, mu, sigma, xi):
    rng = np.random.default_rng(seed)
    if xi == 0.0:
        x = stats.gumbel_r.rvs(loc=mu, scale=sigma, size=n, random_state=rng)
    else:
        x = stats.genextreme.rvs(-xi, loc=mu, scale=sigma, size=n, random_state=rng)
    return np.array([float(f"{v:.2f}") for v in x])


def nll(theta, x, gumbel=False):
    mu, sigma, xi = theta
    if not sigma > 0:
        return np.inf
    if gumbel:
        v = -np.sum(stats.gumbel_r.logpdf(x, loc=mu, scale=sigma))
    else:
        v = -np.sum(stats.genextreme.logpdf(x, -xi, loc=mu, scale=sigma))
    return v if np.isfinite(v) else np.inf


# ---- careful minimisation ----------------------------------------------------------------------

def fd_gradient_hessian(f, p, h):
    """Fourth-order central differences."""
    k = len(p)
    g = np.zeros(k)
    H = np.zeros((k, k))
    f0 = f(p)
    e = np.eye(k) * h
    for i in range(k):
        fp1, fm1 = f(p + e[i]), f(p - e[i])
        fp2, fm2 = f(p + 2 * e[i]), f(p - 2 * e[i])
        g[i] = (-fp2 + 8 * fp1 - 8 * fm1 + fm2) / (12 * h)
        H[i, i] = (-fp2 + 16 * fp1 - 30 * f0 + 16 * fm1 - fm2) / (12 * h * h)
        for j in range(i):
            def mixed(a, b):
                return f(p + a * e[i] + b * e[j])
            H[i, j] = H[j, i] = (
                8 * (mixed(1, -2) + mixed(2, -1) + mixed(-2, 1) + mixed(-1, 2))
                - 8 * (mixed(-1, -2) + mixed(-2, -1) + mixed(1, 2) + mixed(2, 1))
                - (mixed(2, -2) + mixed(-2, 2) - mixed(-2, -2) - mixed(2, 2))
                + 64 * (mixed(-1, -1) + mixed(1, 1) - mixed(1, -1) - mixed(-1, 1))
            ) / (144 * h * h)
    return g, H


def polish(f, p, h=1e-4, rounds=8):
    for _ in range(rounds):
        g, H = fd_gradient_hessian(f, p, h)
        try:
            step = np.linalg.solve(H, -g)
        except np.linalg.LinAlgError:
            break
        t = 1.0
        while t > 1e-6 and not f(p + t * step) <= f(p) + 1e-13:
            t /= 2
        if t <= 1e-6:
            break
        p = p + t * step
        if np.max(np.abs(step)) < 1e-12:
            break
    return p


def nelder_mead(f, p0):
    r = optimize.minimize(f, p0, method="Nelder-Mead",
                          options=dict(xatol=1e-11, fatol=1e-13, maxiter=40000, maxfev=80000))
    r = optimize.minimize(f, r.x, method="Nelder-Mead",
                          options=dict(xatol=1e-12, fatol=1e-14, maxiter=40000, maxfev=80000))
    return r.x


def careful_fit(x, gumbel):
    """Returns (params (mu, sigma, xi), nll) of the global maximum of the likelihood."""
    m, s = x.mean(), x.std()
    xs = (x - m) / s
    if gumbel:
        f = lambda q: nll((q[0], q[1], 0.0), xs, True)
        starts = [np.array([-0.45 * a, 0.78 * a]) for a in (0.5, 1.0, 2.0)]
    else:
        # The admissible shapes: below -1 the likelihood has no maximum.
        f = lambda q: nll(q, xs) if SHAPE_FLOOR < q[2] < SHAPE_CEILING else np.inf
        starts = []
        for xi0 in np.linspace(-0.9, 1.5, 13):
            for a in (0.5, 1.0, 2.0):
                sg = 0.78 * a
                mu = -0.45 * a
                # widen until the support holds the data
                while not np.isfinite(f(np.array([mu, sg, xi0]))):
                    sg *= 1.5
                starts.append(np.array([mu, sg, xi0]))
    best = None
    for p0 in starts:
        p = nelder_mead(f, p0)
        if best is None or f(p) < f(best):
            best = p
    best = polish(f, best)
    v = f(best)
    # Confirm: no point on a fine grid around it is lower, nor any point of the shape profile.
    for d in np.array(np.meshgrid(*[[-1e-4, 0, 1e-4]] * len(best))).T.reshape(-1, len(best)):
        assert f(best + d) >= v - 1e-9, "not a minimum on the fine grid"
    if not gumbel:
        for xi in np.arange(-0.95, 1.96, 0.05):
            g = lambda q: f(np.array([q[0], q[1], xi]))
            sg = 0.78
            while not np.isfinite(g([-0.45, sg])):
                sg *= 1.5
            q = nelder_mead(g, np.array([-0.45, sg]))
            assert g(q) >= v - 1e-7, f"profile at xi={xi:.2f} is lower: not the global maximum"
    params = (m + s * best[0], s * best[1], 0.0 if gumbel else best[2])
    return params, nll(params, x, gumbel), (m, s, best)


def covariance(x, fit, gumbel):
    m, s, q = fit
    f = (lambda v: nll((v[0], v[1], 0.0), (x - m) / s, True)) if gumbel else \
        (lambda v: nll(v, (x - m) / s))
    _, H = fd_gradient_hessian(f, q, 1e-3)
    C = np.linalg.inv(H)
    scale = np.array([s, s, 1.0][: len(q)])
    C = C * np.outer(scale, scale)
    out = np.zeros((3, 3))
    out[: len(q), : len(q)] = C
    return out


# ---- return levels ------------------------------------------------------------------------------

def exceedance(T, B, p):
    """The chance r = 1 - F(z_T) for a non-empty block."""
    return -math.expm1(math.log1p(-1.0 / T) / B) / p


def level(params, r, gumbel):
    mu, sigma, xi = params
    if gumbel:
        return stats.gumbel_r.isf(r, loc=mu, scale=sigma)
    return stats.genextreme.isf(r, -xi, loc=mu, scale=sigma)


def delta_interval(params, C, r, gumbel):
    p = np.array(params)
    h = np.array([1e-4 * params[1], 1e-4 * params[1], 1e-5])
    grad = np.zeros(3)
    for i in range(2 if gumbel else 3):
        e = np.zeros(3)
        e[i] = h[i]
        fp1, fm1 = level(p + e, r, gumbel), level(p - e, r, gumbel)
        fp2, fm2 = level(p + 2 * e, r, gumbel), level(p - 2 * e, r, gumbel)
        grad[i] = (-fp2 + 8 * fp1 - 8 * fm1 + fm2) / (12 * h[i])
    se = math.sqrt(grad @ C @ grad)
    z = level(params, r, gumbel)
    return z, se, z - Z975 * se, z + Z975 * se


def profile_nll(x, z, r, gumbel, warm):
    """min over (sigma, xi) of nll with mu set so that the level stays z."""
    m, s = x.mean(), x.std()
    xs, zs = (x - m) / s, (z - m) / s
    if gumbel:
        f = lambda q: nll((zs - stats.gumbel_r.isf(r, 0, q[0]), q[0], 0.0), xs, True)
    else:
        f = lambda q: (nll((zs - stats.genextreme.isf(r, -q[1], 0, q[0]), q[0], q[1]), xs)
                       if -1 < q[1] < 2 else np.inf)
    best = None
    for p0 in list(warm) + [[1.0, 0.0], [0.3, 0.0], [3.0, 0.0]]:
        p0 = np.array(p0[:1] if gumbel else p0)
        if not np.isfinite(f(p0)):
            continue
        p = nelder_mead(f, p0)
        if best is None or f(p) < f(best):
            best = p
    best = polish(f, best, h=1e-4, rounds=4)
    return f(best) + len(x) * math.log(s), list(best)


def profile_interval(x, params, nll_hat, r, gumbel, se, directions=(-1, 1)):
    """Both bounds; None for one that does not exist: the profile's optimum reaches a limit of the
    admissible shapes, or the search passes a million standard deviations, before the deviance
    reaches the threshold."""
    m, s = x.mean(), x.std()
    z_hat = level(params, r, gumbel)
    start = [params[1] / s, params[2]]
    bounds = []
    for direction in directions:
        warm = [start]
        leaves = []

        def deviance(z):
            v, q = profile_nll(x, z, r, gumbel, warm + [start, [warm[-1][0], 0.0]])
            warm.append(q)
            if not gumbel and not SHAPE_FLOOR + 1e-3 < q[1] < SHAPE_CEILING - 1e-3:
                leaves.append((z, q[1], 2 * (v - nll_hat)))
            return 2 * (v - nll_hat) - CHI2
        inner, step = z_hat, 2 * se
        found = None
        for _ in range(60):
            outer = inner + direction * step
            if abs(outer - z_hat) > 1e6 * s:
                break
            d = deviance(outer)
            if leaves:
                z, xi, dev = leaves[0]
                print(f"  the profile's shape reaches {xi:.4f} at z = {z:.6g} with deviance "
                      f"{dev:.4f} < {CHI2:.4f}: no bound on that side")
                break
            if d > 0:
                found = outer
                break
            inner, step = outer, 2 * step
        if found is None:
            bounds.append(None)
            continue
        bounds.append(optimize.brentq(deviance, min(inner, found), max(inner, found),
                                      xtol=1e-12 * abs(z_hat), rtol=1e-15))
    return bounds


def report_fixture(name, x, B, blocks):
    """Prints the fixture's figures and returns its lines of reference.txt."""
    p = len(x) / blocks
    print(f"== {name}: n = {len(x)}, B = {B}, blocks = {blocks}, p = {g17(p)}")
    fits = {}
    lines = [f"{name} {B} {blocks}"]
    for gumbel in (True, False):
        label = "gumbel" if gumbel else "gev"
        params, v, raw = careful_fit(x, gumbel)
        C = covariance(x, raw, gumbel)
        fits[label] = v
        se = np.sqrt(np.diag(C))
        print(f"{label} fit: mu sigma xi nll = {g17(params[0])}, {g17(params[1])}, "
              f"{g17(params[2])}, {g17(v)}")
        print(f"{label} se: {g17(se[0])}, {g17(se[1])}, {g17(se[2])}")
        figures = [*params, v, *se]
        for T in PERIODS:
            r = exceedance(T, B, p)
            z, zse, lo, hi = delta_interval(params, C, r, gumbel)
            print(f"{label} T={T:g}: level {g17(z)} se {g17(zse)} delta {g17(lo)}, {g17(hi)}")
            figures.append(z)
            if T == PERIODS[-1]:
                plo, phi = profile_interval(x, params, v, r, gumbel, zse)
                print(f"{label} T={T:g}: profile {g17(plo)}, {g17(phi)}")
                figures += [zse, plo, phi]
        lines.append(" ".join("none" if f is None else g17(f) for f in figures))
    stat = 2 * (fits["gumbel"] - fits["gev"])
    print(f"LR statistic {g17(stat)} p-value {g17(stats.chi2.sf(stat, 1))}")
    lines.append(f"{g17(stat)} {g17(stats.chi2.sf(stat, 1))}")
    return lines


def find_trap():
    """The first seed whose sample scipy's default genextreme.fit leaves at a worse optimum."""
    for seed in range(100):
        x = draw(seed, TRAP["n"], TRAP["mu"], TRAP["sigma"], TRAP["xi"])
        c, loc, scale = stats.genextreme.fit(x)
        default = nll((loc, scale, -c), x)
        params, v, _ = careful_fit(x, False)
        if default > v + 1.0:
            return seed, x, (loc, scale, -c), default, params, v
    raise SystemExit("no trap among the seeds tried")


def composite():
    """Three classes, GEV and Gumbel, with empty blocks: the 1000-year level of the product."""
    classes = [(0.9, (1000.0, 50.0, -0.2)), (0.5, (1100.0, 40.0, 0.1)), (0.2, (1200.0, 30.0, 0.0))]
    B, T = 250, 1000.0
    target = math.log1p(-1 / T) / B

    def g(z):
        total = 0.0
        for p, (mu, sigma, xi) in classes:
            sf = stats.genextreme.sf(z, -xi, loc=mu, scale=sigma)
            total += math.log1p(-p * sf)
        return total - target

    z = optimize.brentq(g, 900, 3000, xtol=1e-13, rtol=1e-15)
    print(f"composite of {classes}, B={B}, T={T:g}: {g17(z)}")


def far_deviance(x, nll_hat, r, levels):
    """The profile deviance at each level, maximised over the location and the shape with the scale
    set by the level, sigma = (z - mu) / Q(xi): far above the maxima these keep the support."""
    m, s = x.mean(), x.std()
    xs = (x - m) / s
    out = []
    for z in levels:
        zs = (z - m) / s

        def f(q):
            mu, xi = q
            if not SHAPE_FLOOR < xi < SHAPE_CEILING:
                return np.inf
            sigma = (zs - mu) / stats.genextreme.isf(r, -xi, 0, 1)
            return nll((mu, sigma, xi), xs) if sigma > 0 else np.inf
        best = None
        for xi0 in np.linspace(-0.9, 1.95, 20):
            for mu0 in (-1.0, -0.3, 0.0, 0.5):
                if np.isfinite(f([mu0, xi0])):
                    q = nelder_mead(f, np.array([mu0, xi0]))
                    best = q if best is None or f(q) < f(best) else best
        if best is None:  # no start keeps every maximum in the support: far outside
            out.append((z, float("nan"), math.inf))
            continue
        out.append((z, best[1], 2 * (f(best) + len(x) * math.log(s) - nll_hat)))
    return out


def unbounded_report(x):
    plan = UNBOUNDED
    params, v, raw = careful_fit(x, False)
    C = covariance(x, raw, False)
    r = exceedance(plan["T"], plan["B"], 1.0)
    z, zse, _, _ = delta_interval(params, C, r, False)
    # The lower bound on the same terms as the upper side's check: the location and the shape free,
    # the scale set by the level (with the scale free, the search here loses its way).
    def deviance(z):
        return far_deviance(x, v, r, [z])[0][2] - CHI2
    inner, step = z, zse
    while deviance(inner - step) < 0:
        inner, step = inner - step, 2 * step
    outer = inner - step
    if not deviance(outer) < math.inf:
        # Below the maxima no parameters reach the level: close in on where some first do.
        a, b = outer, inner
        for _ in range(60):
            a, b = (a, (a + b) / 2) if deviance((a + b) / 2) < math.inf else ((a + b) / 2, b)
        outer = b
    lower = optimize.brentq(deviance, outer, inner, xtol=1e-10 * abs(z), rtol=1e-15)
    print(f"== unbounded: seed {plan['seed']}, n = {len(x)}, B = {plan['B']}, p = 1, "
          f"T = {plan['T']:g}")
    print(f"gev fit: mu sigma xi nll = {g17(params[0])}, {g17(params[1])}, {g17(params[2])}, "
          f"{g17(v)}")
    print(f"gev T={plan['T']:g}: level {g17(z)} profile lower {g17(lower)}")
    s = x.std()
    for level, xi, dev in far_deviance(x, v, r, [z + s * 10.0 ** j for j in range(7)]):
        print(f"  upper side: z {level:.6g} (shape {xi:.4f}) deviance {dev:.4f} < {CHI2:.4f}")
    print("  so no upper bound within a million standard deviations: unbounded")


def floor_profile(x):
    """The likelihood maximised over (mu, sigma) at shapes approaching -1: it keeps rising."""
    m, s = x.mean(), x.std()
    xs = (x - m) / s
    values = []
    for xi in (-0.5, -0.8, -0.9, -0.99, -0.999):
        f = lambda q: nll((q[0], q[1], xi), xs)
        best = None
        for mu0 in (-0.5, 0.0, 0.5):
            sg = 0.5
            while not np.isfinite(f([mu0, sg])):
                sg *= 1.5
            q = nelder_mead(f, np.array([mu0, sg]))
            best = q if best is None or f(q) < f(best) else best
        values.append((xi, f(best) + len(x) * math.log(s)))
    return values


def distribution():
    """F and 1 - F on both sides of the support, and the quantile offset Q with its derivatives."""
    for xi, zs in ((0.2, (40, 95, 200)), (-0.2, (90, 149, 160))):
        for z in zs:
            print(f"xi {xi} z {z}: cdf {g17(stats.genextreme.cdf(z, -xi, 100, 10))} "
                  f"sf {g17(stats.genextreme.sf(z, -xi, 100, 10))}")
    for k, xi in ((1e-3, 0.1), (1e-3, 0.05), (0.5, -0.3), (1e-6, -0.3)):
        h = 1e-3
        f = [stats.genextreme.isf(-math.expm1(-k), -(xi + j * h)) for j in (-2, -1, 0, 1, 2)]
        d1 = (f[0] - 8 * f[1] + 8 * f[3] - f[4]) / (12 * h)
        d2 = (-f[0] + 16 * f[1] - 30 * f[2] + 16 * f[3] - f[4]) / (12 * h * h)
        print(f"k {k:g} xi {xi:g}: Q {g17(f[2])} Q' {g17(d1)} Q'' {g17(d2)}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--write-fixtures", action="store_true")
    args = parser.parse_args()
    print(f"scipy {scipy.__version__}, numpy {np.__version__}")
    data = {}
    for name, plan in DRAWS.items():
        data[name] = draw(plan["seed"], plan["n"], plan["mu"], plan["sigma"], plan["xi"])
    seed, trap, default_params, default_nll, params, v = find_trap()
    data["trap"] = trap
    data["unbounded"] = draw(UNBOUNDED["seed"], UNBOUNDED["n"], UNBOUNDED["mu"], UNBOUNDED["sigma"],
                             UNBOUNDED["xi"])
    data["floor"] = draw(FLOOR["seed"], FLOOR["n"], FLOOR["mu"], FLOOR["sigma"], FLOOR["xi"])
    data["large"] = draw(LARGE["seed"], LARGE["n"], LARGE["mu"], LARGE["sigma"], LARGE["xi"])
    if args.write_fixtures:
        FIXTURES.mkdir(parents=True, exist_ok=True)
        for name, x in data.items():
            (FIXTURES / f"{name}.txt").write_text("".join(f"{v:.2f}\n" for v in x))
    reference = [REFERENCE_HEADER]
    for name, plan in DRAWS.items():
        reference += report_fixture(name, data[name], plan["B"], plan["blocks"])
    if args.write_fixtures:
        (FIXTURES / "reference.txt").write_text("\n".join(reference) + "\n")
    print(f"== trap: seed {seed}, n = {len(trap)}")
    print(f"scipy default genextreme.fit: mu sigma xi = {g17(default_params[0])}, "
          f"{g17(default_params[1])}, {g17(default_params[2])} nll {g17(default_nll)}")
    print(f"careful fit: mu sigma xi = {g17(params[0])}, {g17(params[1])}, {g17(params[2])} "
          f"nll {g17(v)}")
    unbounded_report(data["unbounded"])
    params, v, _ = careful_fit(data["large"], False)
    print(f"== large: n = {len(data['large'])}")
    print(f"gev fit: mu sigma xi nll = {g17(params[0])}, {g17(params[1])}, {g17(params[2])}, "
          f"{g17(v)}")
    print("== floor: the likelihood maximised over mu and sigma at fixed shapes")
    for xi, v in floor_profile(data["floor"]):
        print(f"  xi {xi:g}: nll {g17(v)}")
    composite()
    distribution()
    return 0


if __name__ == "__main__":
    sys.exit(main())
