"""A model that travels: tamvek-modflow --copy-arrays makes the model folder
hold every array its package names; the folder is moved and tamvek's run
folder taken away, and flopy still reads each period's rate with the arrays'
volume kept; --verify passes on the moved model from another folder. Without
copies, the package's digests are those of sha256sum, and --verify names
exactly the arrays of a year that was run again with other data.

usage: flopy_travel_test.py BUILD_DIR SCRATCH_DIR
Skips (exit 77) where numpy or flopy cannot be imported.
"""
import calendar
import hashlib
import os
import re
import shutil
import subprocess
import sys

import tamvek_years

try:
    import numpy as np
    import flopy
except ImportError as missing:
    print(f"skipped: {missing} (flopy needs python3-numpy, python3-pandas, python3-matplotlib)")
    sys.exit(77)

BUILD, SCRATCH = sys.argv[1], sys.argv[2]
TAMVEK, GENERATE, MODFLOW = tamvek_years.programs(BUILD)
YEARS = [2010, 2011]
ACRE_FOOT_FT3 = 43560.0
FEET = 2640.0
NROW, NCOL = 90, 120


def run(args, cwd, expect=0, root=True):
    return tamvek_years.run(args, cwd, os.path.join(SCRATCH, "root") if root else None, expect)


def run_year(work, year, seed):
    tamvek_years.run_year(BUILD, SCRATCH, work, year, seed)


def make_years():
    return tamvek_years.make_years(BUILD, SCRATCH, YEARS)


def month_arrays(out):
    arrays = {}
    for year in YEARS:
        for month in range(5, 11):
            with open(os.path.join(out, f"{year}.{month:02d}.rcs")) as f:
                values = []
                for record in f:
                    record = record.rstrip("\r\n")
                    values += [float(record[i:i + 6]) for i in range(0, len(record), 6)]
            arrays[(year, month)] = np.array(values).reshape(NROW, NCOL)
    return arrays


def months():
    return [(2010 + i // 12, i % 12 + 1) for i in range(24)]


def perlen():
    return [calendar.monthrange(y, m)[1] for y, m in months()]


def grid_origin():
    with open(os.path.join(SCRATCH, "root", "BAVO", "QZ", "static", "tamvek.par")) as f:
        return [float(v) for v in f.read().split("\n")[2].split()]


def mf6_model(folder):
    xg0, yg0 = grid_origin()
    sim = flopy.mf6.MFSimulation(sim_name="sim", sim_ws=folder, verbosity_level=0)
    flopy.mf6.ModflowTdis(sim, time_units="days", start_date_time="2010-01-01",
                          nper=24, perioddata=[(p, 1, 1.0) for p in perlen()])
    gwf = flopy.mf6.ModflowGwf(sim, modelname="gwf")
    sim.register_ims_package(flopy.mf6.ModflowIms(sim), [gwf.name])
    flopy.mf6.ModflowGwfdis(gwf, length_units="feet", nlay=1, nrow=NROW, ncol=NCOL, delr=FEET,
                            delc=FEET, top=100.0, botm=0.0, xorigin=xg0, yorigin=yg0)
    sim.write_simulation(silent=True)


def add_to_mf6_name_file(folder, line):
    name = os.path.join(folder, "gwf.nam")
    with open(name) as f:
        text = f.read()
    with open(name, "w") as f:
        f.write(re.sub(r"(?i)END PACKAGES", "  " + line + "\nEND PACKAGES", text))


def mf6_rates(folder):
    sim = flopy.mf6.MFSimulation.load(sim_ws=folder, verbosity_level=0)
    rch = sim.get_model("gwf").get_package("tamvek")
    return [np.asarray(rch.recharge.get_data(key=p), dtype=float).reshape(NROW, NCOL)
            for p in range(24)]


def mf2005_model(folder):
    model = flopy.modflow.Modflow("model", model_ws=folder, version="mf2005")
    flopy.modflow.ModflowDis(model, nlay=1, nrow=NROW, ncol=NCOL, nper=24, delr=FEET, delc=FEET,
                             top=100.0, botm=0.0, perlen=perlen(), nstp=1, tsmult=1.0,
                             steady=[False] * 24, itmuni=4, lenuni=1)
    model.write_input()


def mf2005_rates(folder, line):
    with open(os.path.join(folder, "model.nam"), "a") as f:
        f.write(line + "\n")
    model = flopy.modflow.Modflow.load("model.nam", model_ws=folder, load_only=["dis", "rch"],
                                       check=False, verbose=False)
    return [np.asarray(model.rch.rech[p].array, dtype=float).reshape(NROW, NCOL) for p in range(24)]


def check(label, rates, arrays, relative):
    area = FEET * FEET
    for p, ((year, month), days) in enumerate(zip(months(), perlen())):
        want = arrays.get((year, month), np.zeros((NROW, NCOL))) * ACRE_FOOT_FT3 / (area * days)
        if not np.allclose(rates[p], want, rtol=relative, atol=relative * (np.abs(want).max() + 1e-30)):
            sys.exit(f"{label}: period {p + 1} read back other rates than its month's volume")
    applied = sum(r.sum() * area * d / ACRE_FOOT_FT3 for r, d in zip(rates, perlen()))
    held = sum(a.sum() for a in arrays.values())
    if abs(applied - held) > relative * 10 * held:
        sys.exit(f"{label}: the periods apply {applied}, the arrays hold {held}")
    print(f"{label}: 24 periods, {applied:.4f} acre-feet applied of {held:.4f}")


def digests(package):
    found = {}
    for line in open(package):
        m = re.fullmatch(r"# sha256 ([0-9a-f]{64}) (\d+) (.+)\n", line)
        if m:
            found[m.group(3).strip("'")] = (m.group(1), int(m.group(2)))
    return found


def travelled(label, kind, work, arrays, copies):
    folder = os.path.join(SCRATCH, label)
    if kind == "mf6":
        mf6_model(folder)
        model = folder
        extra = []
    else:
        mf2005_model(folder)
        model = os.path.join(folder, "model.nam")
        extra = ["--start", "2010-01-01"]
    done = run([MODFLOW, "2010", "2011", model, "--volume-unit", "acre-feet", "--copy-arrays", copies]
               + extra, work)
    line = done.stdout.strip().splitlines()[-1]
    for name in digests(os.path.join(folder, "tamvek.rch")):
        assert not name.startswith(".."), f"{label}: the package names {name} outside its folder"
    # The model folder moves; tamvek's run folder is gone.
    moved = os.path.join(SCRATCH, "elsewhere", label)
    shutil.move(folder, moved)
    shutil.move(os.path.join(work, "out"), os.path.join(work, "gone"))
    try:
        if kind == "mf6":
            add_to_mf6_name_file(moved, line)
            rates, relative = mf6_rates(moved), 1e-12
        else:
            rates, relative = mf2005_rates(moved, line), 1e-6
        check(label + ", moved", rates, arrays, relative)
        target = moved if kind == "mf6" else os.path.join(moved, "model.nam")
        verified = run([MODFLOW, "--verify", target], os.path.join(SCRATCH, "elsewhere"), root=False)
        print(verified.stdout.strip())
    finally:
        shutil.move(os.path.join(work, "gone"), os.path.join(work, "out"))


def sha256sum(path):
    try:
        done = subprocess.run(["sha256sum", path], capture_output=True, text=True, check=True)
        return done.stdout.split()[0]
    except (OSError, subprocess.CalledProcessError):
        return hashlib.sha256(open(path, "rb").read()).hexdigest()


def main():
    work = make_years()
    arrays = month_arrays(os.path.join(work, "out"))
    travelled("mf6 copies", "mf6", work, arrays, "tamvek arrays")
    travelled("mf2005 copies", "mf2005", work, arrays, "copies")

    # Without copies: the digests are sha256sum's of the arrays named.
    folder = os.path.join(SCRATCH, "in place")
    mf6_model(folder)
    run([MODFLOW, "2010", "2011", folder, "--volume-unit", "acre-feet"], work)
    recorded = digests(os.path.join(folder, "tamvek.rch"))
    assert len(recorded) == 12, recorded
    for name, (digest, size) in recorded.items():
        path = os.path.normpath(os.path.join(folder, name))
        assert sha256sum(path) == digest and os.path.getsize(path) == size, name
    before = {name: sha256sum(os.path.normpath(os.path.join(folder, name))) for name in recorded}

    # 2011 run again with other data; one of 2010's arrays removed.
    run_year(work, 2011, 77)
    os.remove(os.path.join(work, "out", "2010.05.rcs"))
    changed = sorted(name for name in recorded if "2011." in name and
                     sha256sum(os.path.normpath(os.path.join(folder, name))) != before[name])
    assert changed, "the other data changed none of 2011's arrays"
    done = run([MODFLOW, "--verify", folder], SCRATCH, expect=2, root=False)
    named = sorted(line.split(": ")[1] for line in done.stdout.splitlines() if "changed since" in line)
    assert named == changed, (named, changed, done.stdout)
    assert "2010.05.rcs: missing" in done.stdout, done.stdout
    print(f"--verify names the {len(changed)} arrays of 2011 that changed, and the one missing")


main()
