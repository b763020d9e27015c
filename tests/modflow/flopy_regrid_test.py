"""End to end with --regrid: years run by tamvek, models whose grids are not
tamvek's written by flopy, tamvek-modflow --regrid, the package read back by
flopy. Every model cell's volume in every period must be what an independent
calculation of the overlaps by shapely gives (the volume of a tamvek cell
spread evenly over it, shared by area), and each period's volume plus the
losses the summary reports must be the arrays' volume.

usage: flopy_regrid_test.py BUILD_DIR SCRATCH_DIR
"""
import calendar
import datetime
import math
import os
import re
import shutil
import subprocess
import sys

import tamvek_years

try:
    import numpy as np
    import flopy
    from shapely.geometry import Polygon, box
except ImportError as missing:
    print(f"skipped: {missing} (needs python3-numpy, python3-pandas, python3-shapely and flopy)")
    sys.exit(1 if os.environ.get("TAMVEK_REQUIRE_FLOPY") else 77)

BUILD, SCRATCH = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
TAMVEK, GENERATE, MODFLOW = tamvek_years.programs(BUILD)
YEARS = [2010, 2011]
ACRE_FOOT_FT3 = 43560.0
FOOT = 0.3048


def run(args, cwd, expect=0):
    return tamvek_years.run(args, cwd, os.path.join(SCRATCH, "root"), expect)


def make_years():
    return tamvek_years.make_years(BUILD, SCRATCH, YEARS)


def tamvek_grid():
    """nx, ny, gdx, gdy, xg0, yg0 from the grid definition."""
    with open(os.path.join(SCRATCH, "root", "BAVO", "QZ", "static", "tamvek.par")) as f:
        records = f.read().split("\n")
    ny, nx = (int(v) for v in records[0].split()[:2])
    gdx, gdy = (float(v) for v in records[1].split()[:2])
    xg0, yg0 = (float(v) for v in records[2].split()[:2])
    return nx, ny, gdx, gdy, xg0, yg0


def month_volumes(work, nx, ny):
    """Each month's volumes per tamvek cell (row 1 at the top), by the arrays' fixed fields."""
    volumes = {}
    for year in YEARS:
        for month in range(5, 11):
            with open(os.path.join(work, "out", f"{year}.{month:02d}.rcs")) as f:
                values = []
                for record in f:
                    record = record.rstrip("\r\n")
                    values += [float(record[i:i + 6]) for i in range(0, len(record), 6)]
            assert len(values) == nx * ny
            volumes[(year, month)] = np.array(values)
    return volumes


def monthly_periods():
    lengths = []
    for year in YEARS:
        lengths += [calendar.monthrange(year, m)[1] for m in range(1, 13)]
    return lengths


def period_shares(perlen):
    """Per period (days from 2010-01-01): the irrigation months within it and
    the part of each month's days that falls in it."""
    shares, begin = [], 0.0
    for length in perlen:
        end = begin + length
        within = {}
        for year in YEARS:
            for month in range(5, 11):
                first = (datetime.date(year, month, 1) - datetime.date(YEARS[0], 1, 1)).days
                days = calendar.monthrange(year, month)[1]
                overlap = min(end, first + days) - max(begin, first)
                if overlap > 1e-9:
                    within[(year, month)] = overlap / days
        shares.append(within)
        begin = end
    return shares


def overlap_matrix(cells, grid, metres):
    """shapely's shares: W[m, t] = area(model cell m with tamvek cell t) / area(t)."""
    nx, ny, gdx, gdy, xg0, yg0 = grid
    scale = FOOT / metres  # feet in the model's length unit
    dx, dy, x0, y0 = gdx * scale, gdy * scale, xg0 * scale, yg0 * scale
    area = dx * dy
    matrix = np.zeros((len(cells), nx * ny))
    for m, corners in enumerate(cells):
        polygon = Polygon(corners)
        minx, miny, maxx, maxy = polygon.bounds
        for c in range(max(0, int((minx - x0) // dx)), min(nx, int((maxx - x0) // dx) + 1)):
            for k in range(max(0, int((miny - y0) // dy)), min(ny, int((maxy - y0) // dy) + 1)):
                cell = box(x0 + c * dx, y0 + k * dy, x0 + (c + 1) * dx, y0 + (k + 1) * dy)
                matrix[m, (ny - 1 - k) * nx + c] = polygon.intersection(cell).area / area
    return matrix, np.array([Polygon(c).area for c in cells])


def structured_cells(modelgrid):
    return [modelgrid.get_cell_vertices(i, j) for i in range(modelgrid.nrow) for j in range(modelgrid.ncol)]


def vertex_cells(modelgrid):
    return [modelgrid.get_cell_vertices(c) for c in range(modelgrid.ncpl)]


def summary_losses(stdout):
    """Per year of the summary: placed, outside the grid, on inactive columns."""
    rows = {}
    for line in stdout.splitlines():
        words = line.split()
        if len(words) == 5 and re.fullmatch(r"\d{4}", words[0]) and "inactive" in stdout:
            rows[int(words[0])] = [float(w) for w in words[1:]]
    return rows


def loses(volumes, matrix, active):
    """Whether shapely finds volume outside the model's grid or on inactive columns."""
    for tamvek in volumes.values():
        carried = matrix @ tamvek
        if abs(tamvek.sum() - carried.sum()) > 1e-9 * np.abs(tamvek).sum() or np.any(carried[~active] != 0):
            return True
    return False


def check_case(label, volumes, rates, overlaps, active, stdout, perlen, metres, relative):
    matrix, areas = overlaps
    model_volume = ACRE_FOOT_FT3 * FOOT ** 3 / metres ** 3
    lost = {year: [0.0, 0.0] for year in YEARS}
    for p, (got, shares) in enumerate(zip(rates, period_shares(perlen))):
        if not shares:
            assert not np.any(got), f"{label}: period {p + 1} outside the irrigation months carries recharge"
            continue
        tamvek = sum(fraction * volumes[key] for key, fraction in shares.items())
        carried = matrix @ tamvek
        want = np.where(active, carried, 0.0)
        have = np.asarray(got, dtype=float).reshape(-1) * areas * perlen[p] / model_volume
        scale = sum(fraction * np.abs(volumes[key]).sum() for key, fraction in shares.items()) + 1e-30
        worst = np.abs(have - want).max()
        if worst > relative * scale:
            cell = int(np.abs(have - want).argmax())
            sys.exit(f"{label}: period {p + 1}, cell {cell + 1}: {have[cell]} read, {want[cell]} by shapely")
        outside = tamvek.sum() - carried.sum()
        inactive = carried[~active].sum()
        if abs(have.sum() + outside + inactive - tamvek.sum()) > relative * scale:
            sys.exit(f"{label}: period {p + 1} applies {have.sum()}, loses {outside} + {inactive} "
                     f"of {tamvek.sum()}")
        for (year, month), fraction in shares.items():
            month_carried = matrix @ volumes[(year, month)]
            lost[year][0] += fraction * (volumes[(year, month)].sum() - month_carried.sum())
            lost[year][1] += fraction * month_carried[~active].sum()
    reported = summary_losses(stdout)
    for year in YEARS:
        assert year in reported, f"{label}: no summary row for {year}:\n{stdout}"
        for name, mine, theirs in zip(("outside", "inactive"), lost[year], reported[year][2:]):
            if abs(mine - theirs) > 2e-3 + 1e-9 * abs(mine):
                sys.exit(f"{label}: {year}: the summary reports {theirs} {name}, shapely finds {mine}")
    print(f"{label}: {len(rates)} periods, {len(areas)} cells agree with shapely; "
          f"lost {sum(v[0] for v in lost.values()):.3f} outside, {sum(v[1] for v in lost.values()):.3f} inactive")


def mf6_simulation(folder, perlen, length_units, make_grid):
    sim = flopy.mf6.MFSimulation(sim_name="sim", sim_ws=folder, verbosity_level=0)
    flopy.mf6.ModflowTdis(sim, time_units="days", start_date_time="2010-01-01",
                          nper=len(perlen), perioddata=[(p, 1, 1.0) for p in perlen])
    gwf = flopy.mf6.ModflowGwf(sim, modelname="gwf")
    sim.register_ims_package(flopy.mf6.ModflowIms(sim), [gwf.name])
    make_grid(gwf, length_units)
    sim.write_simulation(silent=True)


def add_line(name_file, line):
    with open(name_file) as f:
        text = f.read()
    with open(name_file, "w") as f:
        f.write(re.sub(r"(?i)END PACKAGES", "  " + line + "\nEND PACKAGES", text))


def folder_state(folder):
    state = {}
    for root, _, files in os.walk(folder):
        for name in files:
            with open(os.path.join(root, name), "rb") as f:
                state[os.path.relpath(os.path.join(root, name), folder)] = f.read()
    return state


def export(work, model, options, loss):
    """Runs the export; where the model loses volume, first without --allow-loss,
    which must be refused, naming the grid's file, and leave the folder as it was."""
    folder = model if os.path.isdir(model) else os.path.dirname(model)
    args = [MODFLOW, str(YEARS[0]), str(YEARS[-1]), model, "--volume-unit", "acre-feet", "--regrid"] + options
    if loss:
        before = folder_state(folder)
        done = run(args, work, expect=2)
        assert "--allow-loss" in done.stderr and re.search(r"\.dis\w*: not written", done.stderr), done.stderr
        assert folder_state(folder) == before, "a refused export changed the model's folder"
        args.append("--allow-loss")
    return run(args, work)


def mf6_case(work, label, grid, volumes, perlen, length_units, make_grid, active_of=None):
    folder = os.path.join(SCRATCH, re.sub(r"\W+", "_", label))
    mf6_simulation(folder, perlen, length_units, make_grid)
    modelgrid = flopy.mf6.MFSimulation.load(sim_ws=folder, verbosity_level=0).get_model("gwf").modelgrid
    cells = vertex_cells(modelgrid) if modelgrid.grid_type == "vertex" else structured_cells(modelgrid)
    metres = FOOT if length_units == "feet" else 1.0
    overlaps = overlap_matrix(cells, grid, metres)
    active = active_of(len(cells)) if active_of else np.ones(len(cells), dtype=bool)
    done = export(work, folder, [], loses(volumes, overlaps[0], active))
    line = done.stdout.strip().splitlines()[-1]
    assert line == "RCH6 tamvek.rch tamvek", line
    add_line(os.path.join(folder, "gwf.nam"), line)
    rch = flopy.mf6.MFSimulation.load(sim_ws=folder, verbosity_level=0).get_model("gwf").get_package("tamvek")
    rates = [rch.recharge.get_data(key=p) for p in range(len(perlen))]
    assert all(r is not None for r in rates), f"{label}: a period without a recharge array"
    check_case(label, volumes, rates, overlaps, active, done.stdout, perlen, metres, 1e-9)


def hexagons(x0, y0, width, height, radius):
    """Pointy-top hexagons covering the rectangle, vertices shared, clockwise."""
    step_x, step_y = math.sqrt(3) * radius, 1.5 * radius
    ids, vertices, cells = {}, [], []
    rows = int(height / step_y) + 3
    cols = int(width / step_x) + 3
    for r in range(rows):
        for c in range(cols):
            cx = x0 - step_x + c * step_x + (step_x / 2 if r % 2 else 0)
            cy = y0 - step_y + r * step_y
            corners = []
            for k in range(6):  # clockwise from the top
                angle = math.radians(90 - 60 * k)
                point = (round(cx + radius * math.cos(angle), 6), round(cy + radius * math.sin(angle), 6))
                if point not in ids:
                    ids[point] = len(vertices)
                    vertices.append([len(vertices), point[0], point[1]])
                corners.append(ids[point])
            cells.append([len(cells), cx, cy, 6] + corners)
    return vertices, cells


def main():
    work = make_years()
    grid = tamvek_grid()
    nx, ny, gdx, gdy, xg0, yg0 = grid
    volumes = month_volumes(work, nx, ny)
    perlen = monthly_periods()
    width, height = nx * gdx, ny * gdy

    # Refined: columns and rows of varying width that cover tamvek's grid exactly.
    def refined(gwf, units):
        delr = np.array([3.0 if i % 5 == 0 else 1.0 for i in range(70)])
        delc = np.array([2.0 if i % 3 == 0 else 1.0 for i in range(45)])
        flopy.mf6.ModflowGwfdis(gwf, length_units=units, nlay=1, nrow=45, ncol=70,
                                delr=delr * width / delr.sum(), delc=delc * height / delc.sum(),
                                top=100.0, botm=0.0, xorigin=xg0, yorigin=yg0)
    mf6_case(work, "refined DIS", grid, volumes, perlen, "feet", refined)

    # Shifted by half a cell: a strip of tamvek's grid lies outside the model's.
    def shifted(gwf, units):
        flopy.mf6.ModflowGwfdis(gwf, length_units=units, nlay=1, nrow=ny, ncol=nx, delr=gdx, delc=gdy,
                                top=100.0, botm=0.0, xorigin=xg0 + gdx / 2, yorigin=yg0 + gdy / 2)
    mf6_case(work, "half a cell shifted", grid, volumes, perlen, "feet", shifted)

    # Rotated by 30 degrees, in metres, larger than tamvek's grid: nothing outside.
    def rotated(gwf, units):
        angle = math.radians(30)
        size = 5000.0 * FOOT
        ncol, nrow = 80, 75
        cx, cy = (xg0 + width / 2) * FOOT, (yg0 + height / 2) * FOOT
        hx, hy = ncol * size / 2, nrow * size / 2
        x0 = cx - (hx * math.cos(angle) - hy * math.sin(angle))
        y0 = cy - (hx * math.sin(angle) + hy * math.cos(angle))
        flopy.mf6.ModflowGwfdis(gwf, length_units=units, nlay=1, nrow=nrow, ncol=ncol, delr=size,
                                delc=size, top=100.0, botm=0.0, xorigin=x0, yorigin=y0, angrot=30.0)
    mf6_case(work, "rotated 30 degrees", grid, volumes, perlen, "meters", rotated)
    # Periods across months: each gets an array of its own rates.
    mf6_case(work, "rotated 30 degrees, 45-day periods", grid, volumes, [1.0] + [45.0] * 16, "meters",
             rotated)

    # Smaller than tamvek's grid: the middle half only.
    def smaller(gwf, units):
        flopy.mf6.ModflowGwfdis(gwf, length_units=units, nlay=1, nrow=ny // 2, ncol=nx // 2, delr=gdx,
                                delc=gdy, top=100.0, botm=0.0, xorigin=xg0 + width / 4,
                                yorigin=yg0 + height / 4)
    mf6_case(work, "smaller DIS", grid, volumes, perlen, "feet", smaller)

    # Hexagons (DISV) over tamvek's grid, two layers: a column is inactive only
    # where both layers' IDOMAIN say so.
    vertices, cells = hexagons(xg0, yg0, width, height, 7000.0)
    ncpl = len(cells)
    idomain = np.ones((2, ncpl), dtype=int)
    idomain[0, ::7] = 0
    idomain[0, 5::11] = 0
    idomain[1, 5::11] = -1

    def hexagonal(gwf, units):
        flopy.mf6.ModflowGwfdisv(gwf, length_units=units, nlay=2, ncpl=ncpl, nvert=len(vertices),
                                 top=100.0, botm=[50.0, 0.0], idomain=idomain, vertices=vertices,
                                 cell2d=cells)
    mf6_case(work, "DISV hexagons", grid, volumes, perlen, "feet", hexagonal,
             active_of=lambda n: (idomain > 0).any(axis=0))

    mf2005_case(work, grid, volumes, perlen)


def mf2005_case(work, grid, volumes, perlen):
    """MODFLOW-2005 states no origin: --model-origin and --model-rotation place it."""
    nx, ny, gdx, gdy, xg0, yg0 = grid
    folder = os.path.join(SCRATCH, "mf2005")
    model = flopy.modflow.Modflow("model", model_ws=folder, version="mf2005")
    delr = np.array([1.0 + (i % 4) for i in range(60)]) * 5500.0
    delc = np.full(50, 5000.0)
    flopy.modflow.ModflowDis(model, nlay=1, nrow=50, ncol=60, nper=len(perlen), delr=delr, delc=delc,
                             top=100.0, botm=0.0, perlen=perlen, nstp=1, tsmult=1.0,
                             steady=[False] * len(perlen), itmuni=4, lenuni=1)
    ibound = np.ones((50, 60), dtype=int)
    ibound[:5, :] = 0
    flopy.modflow.ModflowBas(model, ibound=ibound)
    model.write_input()
    name = os.path.join(folder, "model.nam")
    origin = [str(xg0 + 20000.0), str(yg0 - 100000.0), "--model-rotation", "20"]
    before = folder_state(folder)
    done = run([MODFLOW, str(YEARS[0]), str(YEARS[-1]), name, "--volume-unit", "acre-feet",
                "--start", "2010-01-01", "--regrid"], work, expect=2)
    assert "model.dis: MODFLOW-2005 does not state where" in done.stderr, done.stderr
    assert folder_state(folder) == before
    loaded = flopy.modflow.Modflow.load("model.nam", model_ws=folder, load_only=["dis"], check=False,
                                        verbose=False)
    loaded.modelgrid.set_coord_info(xoff=float(origin[0]), yoff=float(origin[1]), angrot=20.0)
    overlaps = overlap_matrix(structured_cells(loaded.modelgrid), grid, FOOT)
    active = (ibound != 0).reshape(-1)
    done = export(work, name, ["--start", "2010-01-01", "--model-origin"] + origin,
                  loses(volumes, overlaps[0], active))
    line = done.stdout.strip().splitlines()[-1]
    with open(name, "a") as f:
        f.write(line + "\n")
    loaded = flopy.modflow.Modflow.load("model.nam", model_ws=folder, load_only=["dis", "rch"],
                                        check=False, verbose=False)
    rates = [loaded.rch.rech[p].array for p in range(len(perlen))]
    check_case("MODFLOW-2005, placed by the command line", volumes, rates, overlaps, active, done.stdout,
               perlen, FOOT, 1e-6)


main()
