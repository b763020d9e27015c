"""What the flopy tests of tamvek-modflow share: the programs of a build, and
years of generated data run by tamvek in a scratch folder, as an operator runs
them (TAMVEK_ROOT set, the pause answered with go)."""
import os
import shutil
import subprocess
import sys

EXE = ".exe" if os.name == "nt" else ""


def programs(build):
    """tamvek, generate_data and tamvek-modflow of the build."""
    return tuple(os.path.join(build, name + EXE) for name in ("tamvek", "generate_data", "tamvek-modflow"))


def run(args, cwd, root, expect=0):
    """Runs a program with TAMVEK_ROOT at `root` (None: not set); the test
    stops unless it ends with the status `expect`."""
    env = dict(os.environ)
    env.pop("TAMVEK_ROOT", None)
    if root is not None:
        env["TAMVEK_ROOT"] = root
    done = subprocess.run(args, cwd=cwd, env=env, input="go\n", capture_output=True, text=True)
    if done.returncode != expect:
        sys.exit(f"{args} ended with {done.returncode}, not {expect}:\n{done.stdout}\n{done.stderr}")
    return done


def run_year(build, scratch, work, year, seed, root=None):
    """Generates the year's files from `seed` and runs tamvek on them in
    `work`, with the static files of scratch/root. Given `root`, the static
    files generated with the year go there."""
    tamvek, generate, _ = programs(build)
    other = os.path.join(scratch, f"gen{year}-{seed}")
    run([generate, "--root", root or os.path.join(other, "root"), "--work", other, "--year", str(year),
         "--seed", str(seed), "--size", "small"], scratch, None)
    for name in os.listdir(other):
        if name.endswith(".txt"):
            shutil.copy(os.path.join(other, name), work)
    run([tamvek, str(year)], work, os.path.join(scratch, "root"))


def make_years(build, scratch, years):
    """A fresh scratch folder: the static files of the first year's data set in
    scratch/root, and each year (its seed the year) run in scratch/work, which
    is returned."""
    shutil.rmtree(scratch, ignore_errors=True)
    work = os.path.join(scratch, "work")
    os.makedirs(os.path.join(work, "out"))
    for year in years:
        run_year(build, scratch, work, year, year, os.path.join(scratch, "root") if year == years[0] else None)
    return work
