"""Writes a MODFLOW 6 model whose grid is not tamvek's, for bench/modflow.sh:
1,000 x 1,000 cells of varying width, rotated by 30 degrees about its
lower-left corner, centred on tamvek's grid and covering all of it, with the
periods of an existing simulation.

usage: regrid_model.py TAMVEK_PAR SOURCE_MODEL_DIR TARGET_DIR
"""
import math
import os
import shutil
import sys

par, source, target = sys.argv[1:4]
with open(par) as f:
    records = f.read().split("\n")
ny, nx = (int(v) for v in records[0].split()[:2])
gdx, gdy = (float(v) for v in records[1].split()[:2])
xg0, yg0 = (float(v) for v in records[2].split()[:2])

cells, angle = 1000, math.radians(30)
width, height = nx * gdx, ny * gdy
side = 1.4 * max(width, height)  # a square that holds the grid turned by 30 degrees
pattern = [1.0, 1.5, 0.75, 1.25]
weights = [pattern[i % 4] for i in range(cells)]
delr = [side * w / sum(weights) for w in weights]
delc = list(reversed(delr))
cx, cy = xg0 + width / 2, yg0 + height / 2
x0 = cx - (side / 2 * math.cos(angle) - side / 2 * math.sin(angle))
y0 = cy - (side / 2 * math.sin(angle) + side / 2 * math.cos(angle))

os.makedirs(target, exist_ok=True)
for name in ("mfsim.nam", "sim.tdis", "gwf.nam"):
    shutil.copy(os.path.join(source, name), target)


def array(values):
    return "\n".join(" ".join(repr(v) for v in values[i:i + 10]) for i in range(0, len(values), 10))


with open(os.path.join(target, "gwf.dis"), "w") as f:
    f.write(f"BEGIN OPTIONS\n  LENGTH_UNITS feet\n  XORIGIN {x0!r}\n  YORIGIN {y0!r}\n  ANGROT 30\n"
            f"END OPTIONS\nBEGIN DIMENSIONS\n  NLAY 1\n  NROW {cells}\n  NCOL {cells}\nEND DIMENSIONS\n"
            f"BEGIN GRIDDATA\n  DELR\n    INTERNAL\n{array(delr)}\n  DELC\n    INTERNAL\n{array(delc)}\n"
            "  TOP\n    CONSTANT 100\n  BOTM\n    CONSTANT 0\nEND GRIDDATA\n")
