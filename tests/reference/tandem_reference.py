"""Independent evaluation of a whole run, written separately from the C++ program.

It follows the same formulas in the same order of evaluation with Python floats (IEEE
doubles, the C library's sin, cos, sqrt and pow through math), renders the records with
Python's own correctly rounded conversions, and writes rsigma.dat, the summary block of
resonance.dat and the console lines after the line of three blanks. The comparison
script checks the program against it byte for byte.

Usage: tandem_reference.py tandem.inp K2 K1 outdir   (tandem.inp with blank-separated values)
"""
import json, math, sys, struct, os

def mod(x, y): return x - y * math.trunc(x / y)

def solkep(ex, m):
    tole = 1e-12; e = m; niter = 0
    while True:
        e0 = e; se = math.sin(e0); ce = math.cos(e0)
        es = ex * se; ec = 1 - ex * ce
        mk = e0 - es; u = (mk - m) / ec
        xpri = e0 - u; xseg = e0 - u / (1 - u * es)
        e = (xpri + xseg) / 2
        dex = abs(e - e0); niter += 1
        if not (dex > tole): return e, niter

def f32(x): return struct.unpack('f', struct.pack('f', x))[0]

def state(a, b, e, n, P, Q, cose, sine):
    """Heliocentric position and velocity from cos E and sin E, P and Q the plane's unit vectors."""
    r = a * (1 - e * cose)
    pos = [a * p * cose + b * q * sine - a * e * p for p, q in zip(P, Q)]
    vel = [(b * q * cose - a * p * sine) * n * a / r for p, q in zip(P, Q)]
    return pos[0], pos[1], pos[2], vel[0], vel[1], vel[2]

def vectors(O, w, i):
    l1 = math.cos(O) * math.cos(w) - (math.sin(O) * math.sin(w)) * math.cos(i)
    m1 = math.sin(O) * math.cos(w) + (math.cos(O) * math.sin(w)) * math.cos(i)
    n1 = math.sin(w) * math.sin(i)
    l2 = -(math.cos(O) * math.sin(w)) - (math.sin(O) * math.cos(w)) * math.cos(i)
    m2 = -(math.sin(O) * math.sin(w)) + (math.cos(O) * math.cos(w)) * math.cos(i)
    n2 = math.cos(w) * math.sin(i)
    return l1, m1, n1, l2, m2, n2

def main():
    inp, k2, k1, out = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
    lines = [l for l in open(inp).read().split('\n')]
    mst = float(lines[1].split()[0])
    p1 = [float(x) for x in lines[3].split()[:6]]
    p2 = [float(x) for x in lines[4].split()[:6]]
    se, ex, yn, ln, lp, sm = [None, p1[0], p2[0]], [None, p1[1], p2[1]], [None, p1[2], p2[2]], [None, p1[3], p2[3]], [None, p1[4], p2[4]], [None, p1[5], p2[5]]
    twopi = 8 * math.atan(1); pi = twopi / 2; g2r = pi / 180; kgaus = 0.01720209895; kg2 = kgaus * kgaus
    rhtol = 3.0; uno = 1.0
    maxfac = k2
    a2 = se[2]; n2 = math.sqrt((mst + sm[2]) * kg2 / (a2 * a2 * a2)); e2 = ex[2]; b2 = math.sqrt(uno - e2 * e2) * a2
    j2g = yn[2]; j2 = j2g * g2r; l2g = ln[2]; p2g = lp[2]; l2 = l2g * g2r; p2 = p2g * g2r
    argper = p2g - l2g; ar2 = argper * g2r
    l12, m12, n12, l22, m22, n22 = vectors(l2, ar2, j2)
    n1 = (k2 * n2) / k1
    a1 = math.pow((mst + sm[1]) * kg2 / (n1 * n1), uno / 3)
    e1 = ex[1]; b1 = math.sqrt(uno - e1 * e1) * a1
    j1g = yn[1]; l1g = ln[1]; p1g = lp[1]; j1 = j1g * g2r; l1 = l1g * g2r; p1 = p1g * g2r; ar1 = p1 - l1
    l11, m11, n11, l21, m21, n21 = vectors(l1, ar1, j1)
    beta1 = sm[1] * mst / (sm[1] + mst); beta2 = sm[2] * mst / (sm[2] + mst)
    hii = ((k1 / a1) * (k1 / a1) * 3) / beta1 + ((k2 / a2) * (k2 / a2) * 3) / beta2
    rhs = math.pow((sm[1] + sm[2]) / (mst * 3), 1 / 3) * ((a1 + a2) / 2)
    isimax = 360; ipasos = 1000 * math.trunc(maxfac)
    tab = []
    for i2 in range(1, ipasos + 1):
        la2 = (i2 / ipasos) * twopi * abs(k1)
        am2 = mod(la2 - p2, twopi)
        aex2, _ = solkep(e2, am2); cose = math.cos(aex2); sine = math.sin(aex2)
        x2, y2, z2, xp2, yp2, zp2 = state(a2, b2, e2, n2, (l12, m12, n12), (l22, m22, n22), cose, sine)
        tab.append((la2, x2, y2, z2, xp2, yp2, zp2))
    rp = [0.0] * 361; md = [0.0] * 361; sma = [0.0] * 361; ace = [''] * 361; tlib = [0.0] * 361
    for isi in range(1, isimax + 1):
        acrit = ((isi - 1) / isimax) * 360
        ace[isi] = ' ' * 9; tlib[isi] = 0.0; rtot = 0.0; mindis = 9999999.0
        teta = (k1 - k2) * p1g + acrit; teta = mod(teta, 360); tetar = teta * g2r
        for (la2, x2, y2, z2, xp2, yp2, zp2) in tab:
            la1 = (k2 * la2 + tetar) / k1
            am1 = mod(la1 - p1, twopi)
            aex1, _ = solkep(e1, am1); cose = math.cos(aex1); sine = math.sin(aex1)
            x1, y1, z1, xp1, yp1, zp1 = state(a1, b1, e1, n1, (l11, m11, n11), (l21, m21, n21), cose, sine)
            dx = x1 - x2; dy = y1 - y2; dz = z1 - z2
            delta = math.sqrt(dx * dx + dy * dy + dz * dz)
            if delta < rhs * rhtol: ace[isi] = 'CLOSE ENC'
            delrh = delta / rhs
            if delrh < mindis: mindis = delrh
            v1v2 = xp1 * xp2 + yp1 * yp2 + zp1 * zp2
            rind = -(sm[1] * sm[2] * v1v2 / mst)
            rdir = kg2 * sm[1] * sm[2] / delta
            rper = rdir + rind; rtot = rtot + rper
        rp[isi] = rtot / ipasos; sma[isi] = f32(acrit); md[isi] = mindis
    aeq = [' ' * 9] * 361
    vmedio = 0.0
    for i in range(1, isimax + 1): vmedio = vmedio + rp[i]
    vmedio = vmedio / isimax
    vrmin = 999999.0; vrmax = -999999.0
    for i in range(1, isimax + 1):
        if rp[i] < vrmin: vrmin = rp[i]
        if rp[i] > vrmax and md[i] > rhtol: vrmax = rp[i]
    delr = vrmax - vrmin
    if delr < 0: delr = 0.0
    cterm = ((kg2 * mst) * (sm[1] + sm[2])) / a1
    if delr / cterm < 1e-20: delr = 0.0
    detec2 = abs((vmedio - vrmin) / vmedio)
    console = []
    if delr == 0 or detec2 < 1e-11:
        delr = 0.0; console.append(' *** undetectable resonance ***')
    else:
        d1 = [0.0] * 361; d2 = [0.0] * 361
        def nb(i):
            ip = i + 1
            if ip > 360: ip = 1
            im = i - 1
            if im <= 0: im = 360
            return ip, im
        for i in range(1, isimax + 1):
            ip, im = nb(i); d1[i] = ((rp[ip] - rp[im]) / 2) / g2r
        for i in range(1, isimax + 1):
            ip, im = nb(i); d2[i] = ((d1[ip] - d1[im]) / 2) / g2r
        for i in range(1, isimax + 1):
            ip, im = nb(i)
            if md[i] <= 0.5: continue
            valor = d1[i]
            if not (d1[im] * valor <= 0): continue
            iext = i
            if d2[i] > 0:
                if rp[im] < rp[i]: iext = im
                aeq[iext] = 'E. STABLE'
                tlib[iext] = (twopi / math.sqrt(abs(d2[iext]) * hii)) / 365.25
            else:
                if rp[im] > rp[i]: iext = im
                aeq[iext] = ' UNSTABLE'
    ff = 2 * math.sqrt(((2 * delr) / hii) / kg2)
    ancha1 = 2 * ((((math.sqrt((mst + sm[1]) * a1) * k1) / mst) / sm[1]) * ff)
    ancha2 = 2 * ((((math.sqrt((mst + sm[2]) * a2) * k2) / mst) / sm[2]) * ff)
    # --- rendering
    def lreal(v):
        if v == 0: return '  0.'
        s = '%.8e' % abs(v)
        mant, ex_ = s.split('e'); X = int(ex_)
        digits = mant.replace('.', '')
        if -4 <= X < 9:
            if X >= 0:
                ip_ = digits[:X + 1]; fr = digits[X + 1:]
            else:
                ip_ = '0'; fr = '0' * (-X - 1) + digits
            fr = fr.rstrip('0'); t = ip_ + '.' + fr
        else:
            fr = digits[1:].rstrip('0')
            t = digits[0] + '.' + fr + 'E' + ('-' if X < 0 else '+') + '%03d' % abs(X)
        return ' ' + ('-' if v < 0 else ' ') + t
    def lrec(items):
        rec = ''
        for it in items:
            if isinstance(it, str): rec += (' ' if rec == '' else '') + it
            elif isinstance(it, int): rec += ' ' + str(it)
            else: rec += lreal(it)
        return rec
    def fF(v, w, d):
        t = '%.*f' % (d, abs(v))
        if d == 0: t += '.'
        if v < 0 and any(c in '123456789' for c in t): t = '-' + t
        if len(t) > w:
            if t.startswith('0') and len(t) == w + 1: t = t[1:]
            else: return '*' * w
        return t.rjust(w)
    def fE(v, w, d):
        if v == 0: digits = '0' * d; N = 0
        else:
            s = '%.*e' % (d - 1, abs(v)); mant, ex_ = s.split('e')
            digits = mant.replace('.', ''); N = int(ex_) + 1
        ex_s = ('E' + ('-' if N < 0 else '+') + '%02d' % abs(N)) if abs(N) <= 99 else (('-' if N < 0 else '+') + '%03d' % abs(N))
        body = '.' + digits + ex_s
        neg = v < 0
        room = w - (d + 5) - (1 if neg else 0)
        if room < 0: return '*' * w
        if room > 0: body = '0' + body; room -= 1
        return ' ' * room + ('-' if neg else '') + body
    def fA(s, w): return s.rjust(w) if w > len(s) else s[:w]
    crit = lrec(['sigma =', int(k1), '*lambda1', int(-k2), '*lambda2 +', int(k2 - k1), '*varpi1'])
    summ = [lrec(['Star mass =  ', mst]), lrec(['Planet masses=  ', sm[1], sm[2]]),
            lrec(['Planet a1, a2 =  ', a1, a2, ' Poincare system']), lrec(['Planet e1, e2 =  ', e1, e2]),
            lrec(['Planet i1, i2 =  ', j1g, j2g]), lrec(['Planet LN1, LN2 =  ', l1g, l2g]),
            lrec(['Planet LP1, LP2 =  ', p1g, p2g]), lrec(['Resonance =  ', int(k2), ':', int(k1)]),
            lrec(['<R> = ', vmedio, '  [M_sun,au,days]']), lrec(['Strength (<R>-Rmin) = ', vmedio - vrmin]),
            lrec(['Rmax-Rmin = ', delr]), lrec(['Close enc. dist. = ', rhtol, ' RHill']),
            lrec(['stable full width Da1, Da2= ', ancha1, ancha2])]
    table = [lrec([' sigma   R-R_min '])]
    for i in range(1, isimax + 1):
        row = fF(sma[i], 7, 2) + fE(rp[i] - vrmin, 16, 8) + fA(ace[i], 10) + fA(aeq[i], 10)
        if tlib[i] != 0:
            row += fE(tlib[i], 16, 8)
            eq = fA('sigma=', 7) + fF(sma[i], 4, 0) + fA(aeq[i], 10) + fA('  P=', 4) + fE(tlib[i], 16, 8) + fA(' years', 10)
            console.append(eq); summ.append(eq)
        table.append(row)
    console.append(' ' * 9)
    summ.append(crit); summ.append(' ' * 9)
    os.makedirs(out, exist_ok=True)
    open(os.path.join(out, 'rsigma.dat'), 'w').write('\n'.join(table) + '\n')
    open(os.path.join(out, 'resonance.dat'), 'w').write('\n'.join(summ) + '\n')
    open(os.path.join(out, 'console_tail'), 'w').write('\n'.join(console) + '\n')
    # Every value of the result, unrounded (json writes floats so that they read back exactly).
    labels = {' ' * 9: 'none', 'E. STABLE': 'stable', ' UNSTABLE': 'unstable'}
    whole = dict(a1=a1, a2=a2, n1=n1, n2=n2, hii=hii, rhs=rhs, ipasos=ipasos,
                 sigma=sma[1:], r=rp[1:], r_minus_rmin=[rp[i] - vrmin for i in range(1, 361)],
                 min_distance=md[1:], close_encounter=[a == 'CLOSE ENC' for a in ace[1:]],
                 equilibrium=[labels[a] for a in aeq[1:]], period_years=tlib[1:],
                 mean=vmedio, rmin=vrmin, rmax=vrmax, amplitude=delr, strength=vmedio - vrmin,
                 detectable=not (delr == 0), width_a1=ancha1, width_a2=ancha2)
    with open(os.path.join(out, 'result.json'), 'w') as f:
        json.dump(whole, f)

if __name__ == "__main__":
    main()
