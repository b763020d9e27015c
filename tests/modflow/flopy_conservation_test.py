"""End to end: years run by tamvek, models written by flopy, tamvek-modflow's
packages read back by flopy. For every period and cell the rate flopy reads
must be the volume of the months' days within the period, spread evenly over
each month's days, over the cell's area and the period's length; so each
year's volume is kept whatever the periods are.

Then each model of tests/modflow/models, one for each form of MODFLOW input
that models keep as their authors wrote them, is read by tamvek-modflow, and
its package read back by flopy the same way.

usage: flopy_conservation_test.py BUILD_DIR SCRATCH_DIR
Skips (exit 77) where numpy or flopy cannot be imported.
"""
import calendar
import datetime
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
YEARS = [2010, 2011, 2012]
ACRE_FOOT_M3 = 43560 * 0.3048 ** 3
FEET = 2640.0


def run(args, cwd, expect=0):
    return tamvek_years.run(args, cwd, os.path.join(SCRATCH, "root"), expect)


def make_years():
    work = tamvek_years.make_years(BUILD, SCRATCH, YEARS)
    # Fields that fill their six characters touch their neighbours: July 2011
    # gets some in its first row (the check report still fits the year).
    name = os.path.join(work, "out", "2011.07.rcs")
    with open(name, "rb") as f:
        text = f.read()
    text = b"1000.0-123.4" + text[12:30] + b"9999.9" + text[36:]
    with open(name, "wb") as f:
        f.write(text)
    return work


def month_arrays(work, nrow, ncol):
    """Each month's array as tamvek wrote it, read by its fixed fields."""
    arrays = {}
    for year in YEARS:
        for month in range(5, 11):
            with open(os.path.join(work, "out", f"{year}.{month:02d}.rcs")) as f:
                records = [line.rstrip("\r\n") for line in f]
            values, row = [], []
            for record in records:
                row += [float(record[i:i + 6]) for i in range(0, len(record), 6)]
                if len(row) == ncol:
                    values.append(row)
                    row = []
            arrays[(year, month)] = np.array(values)
            assert arrays[(year, month)].shape == (nrow, ncol)
    return arrays


def expected_rates(arrays, start, perlen, day_of_unit, model_volume, area):
    """Per period: the rate array, independently of the program."""
    rates, begin = [], start
    elapsed = 0.0
    for length in perlen:
        elapsed += length
        end = start + datetime.timedelta(days=elapsed * day_of_unit)
        volume = 0
        for (year, month), values in arrays.items():
            first = datetime.datetime(year, month, 1)
            days = calendar.monthrange(year, month)[1]
            last = first + datetime.timedelta(days=days)
            overlap = (min(end, last) - max(begin, first)).total_seconds() / 86400
            if overlap > 1e-9:
                volume = volume + values * (overlap / days)
        rates.append(volume * model_volume / (area * length) if length > 0 else 0)
        begin = end
    return rates


def month_lengths(first_year, months):
    lengths, year, month = [], first_year, 1
    for _ in range(months):
        lengths.append(calendar.monthrange(year, month)[1])
        month = month % 12 + 1
        year += month == 1
    return lengths


def grid_origin():
    with open(os.path.join(SCRATCH, "root", "BAVO", "QZ", "static", "tamvek.par")) as f:
        records = f.read().split("\n")
    return [float(v) for v in records[2].split()]


def mf6_model(folder, perlen, length_units, time_units, cell):
    xg0, yg0 = grid_origin()
    sim = flopy.mf6.MFSimulation(sim_name="sim", sim_ws=folder, verbosity_level=0)
    flopy.mf6.ModflowTdis(sim, time_units=time_units, start_date_time="2010-01-01T00:00:00",
                          nper=len(perlen), perioddata=[(p, 1, 1.0) for p in perlen])
    gwf = flopy.mf6.ModflowGwf(sim, modelname="gwf")
    sim.register_ims_package(flopy.mf6.ModflowIms(sim), [gwf.name])
    flopy.mf6.ModflowGwfdis(gwf, length_units=length_units, nlay=1, nrow=90, ncol=120, delr=cell,
                            delc=cell, top=100.0, botm=0.0, xorigin=xg0 * cell / FEET,
                            yorigin=yg0 * cell / FEET)
    sim.write_simulation(silent=True)


def add_to_mf6_name_file(folder, line):
    name = os.path.join(folder, "gwf.nam")
    with open(name) as f:
        text = f.read()
    with open(name, "w") as f:
        f.write(re.sub(r"(?i)END PACKAGES", "  " + line + "\nEND PACKAGES", text))


def mf6_rates(folder, nper):
    sim = flopy.mf6.MFSimulation.load(sim_ws=folder, verbosity_level=0)
    rch = sim.get_model("gwf").get_package("tamvek")
    rates, last = [], None
    for period in range(nper):
        data = rch.recharge.get_data(key=period)
        assert data is not None, f"period {period + 1} has no recharge array"
        rates.append(np.asarray(data, dtype=float).reshape(90, 120))
    return rates


def mf2005_model(folder, perlen, itmuni, lenuni, cell):
    model = flopy.modflow.Modflow("model", model_ws=folder, version="mf2005")
    flopy.modflow.ModflowDis(model, nlay=1, nrow=90, ncol=120, nper=len(perlen), delr=cell,
                             delc=cell, top=100.0, botm=0.0, perlen=perlen, nstp=1, tsmult=1.0,
                             steady=[False] * len(perlen), itmuni=itmuni, lenuni=lenuni)
    model.write_input()


def mf2005_rates(folder, line, nper):
    with open(os.path.join(folder, "model.nam"), "a") as f:
        f.write(line + "\n")
    model = flopy.modflow.Modflow.load("model.nam", model_ws=folder, load_only=["dis", "rch"],
                                       check=False, verbose=False)
    return [np.asarray(model.rch.rech[p].array, dtype=float).reshape(90, 120) for p in range(nper)]


def check(label, rates, expected, perlen, area, model_volume, relative, arrays_volume):
    total = 0.0
    for p, (got, want) in enumerate(zip(rates, expected)):
        want = np.broadcast_to(want, got.shape)
        scale = np.abs(want).max() + 1e-30
        if not np.allclose(got, want, rtol=relative, atol=relative * scale):
            cell = np.unravel_index(np.abs(got - want).argmax(), got.shape)
            sys.exit(f"{label}: period {p + 1}, cell {cell}: {got[cell]} read, {want[cell]} expected")
        total += got.sum() * area * perlen[p] / model_volume
    if abs(total - arrays_volume) > relative * 10 * arrays_volume:
        sys.exit(f"{label}: the periods apply {total}, the arrays hold {arrays_volume}")
    print(f"{label}: {len(rates)} periods, {total:.6f} acre-feet applied of {arrays_volume:.6f}")


def main():
    work = make_years()
    arrays = month_arrays(work, 90, 120)
    arrays_volume = sum(values.sum() for values in arrays.values())
    start = datetime.datetime(2010, 1, 1)
    monthly = month_lengths(2010, 36)
    cutting = [1.0] + [45.0] * 25  # a steady first day, then periods across months

    cases = [
        ("MODFLOW 6, calendar months, feet and days", "mf6", monthly, "feet", "days", FEET, 1.0),
        ("MODFLOW 6, 45-day periods, feet and days", "mf6", cutting, "feet", "days", FEET, 1.0),
        ("MODFLOW 6, 45-day periods, metres and seconds", "mf6", [p * 86400 for p in cutting],
         "meters", "seconds", FEET * 0.3048, 1 / 86400),
        ("MODFLOW-2005, calendar months, metres and seconds", "mf2005",
         [p * 86400.0 for p in monthly], 2, 1, FEET * 0.3048, 1 / 86400),
        ("MODFLOW-2005, 45-day periods, feet and days", "mf2005", cutting, 1, 4, FEET, 1.0),
    ]
    for number, (label, kind, perlen, length, time, cell, day_of_unit) in enumerate(cases):
        folder = os.path.join(SCRATCH, f"model{number}")
        metres = 0.3048 if length in ("feet", 1) else 1.0
        model_volume = ACRE_FOOT_M3 / metres ** 3
        area = cell * cell
        expected = expected_rates(arrays, start, perlen, day_of_unit, model_volume, area)
        if kind == "mf6":
            mf6_model(folder, perlen, length, time, cell)
            done = run([MODFLOW, "2010", "2012", folder, "--volume-unit", "acre-feet"], work)
            line = done.stdout.strip().splitlines()[-1]
            assert line == "RCH6 tamvek.rch tamvek", line
            add_to_mf6_name_file(folder, line)
            rates = mf6_rates(folder, len(perlen))
            relative = 1e-12
        else:
            mf2005_model(folder, perlen, time, length, cell)
            done = run([MODFLOW, "2010", "2012", os.path.join(folder, "model.nam"),
                        "--volume-unit", "acre-feet", "--start", "2010-01-01"], work)
            line = done.stdout.strip().splitlines()[-1]
            assert re.fullmatch(r"RCH \d+ tamvek.rch", line), line
            rates = mf2005_rates(folder, line, len(perlen))
            relative = 1e-6  # MODFLOW-2005 reads single precision
        check(label, rates, expected, perlen, area, model_volume, relative, arrays_volume)

    # The free-format copy of July 2011, whose fields touch, holds its values.
    copy = os.path.join(SCRATCH, "model0", "tamvek.rch.2011.07.txt")
    values = np.array(open(copy).read().split(), dtype=float).reshape(90, 120)
    assert (values == arrays[(2011, 7)]).all(), "the free-format copy differs from the array"
    assert values[0, 0] == 1000.0 and values[0, 1] == -123.4 and values[0, 5] == 9999.9
    print("the free-format copy of out/2011.07.rcs holds its values")
    form_models(work, arrays, arrays_volume)


# Each form's model: the options it needs besides FIRST LAST MODEL
# --volume-unit, what the summary must note, and the names a model made on
# Windows holds, which flopy on this system needs written its way.
FORMS = {
    "mf6_control_remarks": ([], None, {}),
    "mf6_undefined_units": (["--length-unit", "feet", "--time-unit", "days"], None, {}),
    "mf6_start_offset": ([], "a clock reading at UTC+01:00", {}),
    "mf6_start_blank": ([], None, {}),
    "mf6_binary_arrays": ([], "a clock reading at UTC:", {}),
    "mf6_text_after_blocks": ([], None, {}),
    "mf6_windows_names": ([], "(a backslash taken as a folder separator)",
                          {"mfsim.nam": [("SIM.TDIS", "sim.tdis"), ("GWF.NAM", "gwf.nam")],
                           "gwf.nam": [("Model\\Gwf.Dis", "model/gwf.dis")]}),
    "mf2005_fixed_records": (["--start", "2010-01-01"], None, {}),
    "mf2005_external_units": (["--start", "2010-01-01"], None, {}),
    "mf2005_windows_names": (["--start", "2010-01-01"], "the only file of that name in another case",
                             {"model.nam": [("MODEL.DIS", "model.dis")],
                              "model.dis": [("Arrays\\DELR.txt", "arrays/delr.txt")]}),
}


def form_models(work, arrays, arrays_volume):
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "models")
    perlen = month_lengths(2010, 36)
    area = FEET * FEET
    model_volume = ACRE_FOOT_M3 / 0.3048 ** 3
    expected = expected_rates(arrays, datetime.datetime(2010, 1, 1), perlen, 1.0, model_volume, area)
    assert sorted(FORMS) == sorted(os.listdir(here)), "a form's model without its entry, or the reverse"
    for form, (options, note, windows_names) in sorted(FORMS.items()):
        folder = os.path.join(SCRATCH, "forms", form)
        shutil.copytree(os.path.join(here, form), folder)
        mf6 = form.startswith("mf6")
        model = folder if mf6 else os.path.join(folder, "model.nam")
        done = run([MODFLOW, "2010", "2012", model, "--volume-unit", "acre-feet"] + options, work)
        lines = done.stdout.strip().splitlines()
        if note is not None:
            assert any(line.startswith("note: ") and note in line for line in lines), f"{form}: no note of {note!r}:\n{done.stdout}"
        name_file = re.fullmatch(r"Add this line to the .* of (.*):", lines[-2]).group(1)
        for name, replacements in windows_names.items():
            path = os.path.join(folder, name)
            with open(path) as f:
                text = f.read()
            for old, new in replacements:
                text = text.replace(old, new)
            with open(path, "w") as f:
                f.write(text)
        if mf6:
            with open(name_file) as f:
                text = f.read()
            with open(name_file, "w") as f:
                f.write(re.sub(r"(?i)END PACKAGES", "  " + lines[-1] + "\nEND PACKAGES", text))
            rates = mf6_rates(folder, len(perlen))
            relative = 1e-12
        else:
            rates = mf2005_rates(folder, lines[-1], len(perlen))
            relative = 1e-6
        check(form, rates, expected, perlen, area, model_volume, relative, arrays_volume)


main()
