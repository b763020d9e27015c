#!/usr/bin/env python3
"""The overlap table of tamvek's grid and a model's grid, checked against
shapely's intersections of the same cells built here from the same numbers.

For each case: every model cell's area, every overlap of a tamvek cell with a
model cell (as a share of the tamvek cell's area) and every tamvek cell's share
outside the model's cells must agree with shapely to 1e-9 of the overlap (or
2e-11 of the tamvek cell: a sliver of rounding where both grids' edges
coincide is not kept). Each tamvek cell's shares and its outside share sum to 1.

    regrid_shapely_test.py OVERLAP_TABLE_DUMP
"""
import math
import subprocess
import sys

import numpy as np
from shapely import affinity
from shapely.geometry import Polygon, box
from shapely.ops import unary_union

DUMP = sys.argv[1]
RELATIVE = 1e-9
SLIVER = 2e-11
METRES = 0.3048  # model units per foot


class Tamvek:
    """tamvek's grid in feet; every number exact in single precision."""

    def __init__(self, nx, ny, xg0, yg0, gdx, gdy, units_per_foot):
        self.nx, self.ny, self.xg0, self.yg0 = nx, ny, xg0, yg0
        self.gdx, self.gdy, self.units_per_foot = gdx, gdy, units_per_foot

    def line(self):
        return f"tamvek {self.nx} {self.ny} {self.xg0} {self.yg0} {self.gdx} {self.gdy} {self.units_per_foot!r}\n"

    def cells(self):
        """In the arrays' order (row 1 at the top), in the model's unit."""
        cells = []
        for irow in range(1, self.ny + 1):
            for icol in range(1, self.nx + 1):
                x = self.xg0 + (icol - 1) * self.gdx
                y = self.yg0 + (self.ny - irow) * self.gdy
                cell = box(x, y, x + self.gdx, y + self.gdy)
                cells.append(affinity.scale(cell, self.units_per_foot, self.units_per_foot, origin=(0, 0)))
        return cells


def on_map(polygon, xorigin, yorigin, angrot):
    turned = affinity.rotate(polygon, angrot, origin=(0, 0))
    return affinity.translate(turned, xorigin, yorigin)


def dis(xorigin, yorigin, angrot, delr, delc):
    """The dump's input and the cells on the map, row by row from the top."""
    columns = np.concatenate([[0.0], np.cumsum(delr)])
    rows = np.concatenate([[0.0], np.cumsum(delc)])
    height = rows[-1]
    cells = []
    for i in range(len(delc)):
        for j in range(len(delr)):
            local = box(columns[j], height - rows[i + 1], columns[j + 1], height - rows[i])
            cells.append(on_map(local, xorigin, yorigin, angrot))
    text = f"dis {xorigin!r} {yorigin!r} {angrot!r} {len(delr)} {len(delc)}\n"
    text += " ".join(repr(float(w)) for w in delr) + "\n" + " ".join(repr(float(h)) for h in delc) + "\n"
    return text, cells


def disv(xorigin, yorigin, angrot, vertices, cells, fortran_exponents=False):
    """vertices: (x, y) in the model's own frame; cells: vertex ids from 0 in order."""
    def number(value):
        return f"{value:.17E}".replace("E", "D") if fortran_exponents else repr(float(value))

    text = f"disv {xorigin!r} {yorigin!r} {angrot!r} {len(vertices)} {len(cells)}\n"
    for iv, (x, y) in enumerate(vertices):
        text += f"{iv + 1} {number(x)} {number(y)}\n"
    polygons = []
    for ic, ids in enumerate(cells):
        local = Polygon([vertices[i] for i in ids])
        centre = local.centroid
        text += f"{ic + 1} {number(centre.x)} {number(centre.y)} {len(ids)} " + " ".join(str(i + 1) for i in ids)
        text += "  remark after the values\n"
        polygons.append(on_map(local, xorigin, yorigin, angrot))
    return text, polygons


def hexagons(size, columns, rows):
    """Pointy-top hexagons sharing their corners, listed clockwise."""
    vertices, index, cells = [], {}, []
    for row in range(rows):
        for column in range(columns):
            cx = math.sqrt(3) * size * (column + 0.5 * (row % 2))
            cy = 1.5 * size * row
            ids = []
            for k in range(6):
                angle = math.radians(90 - 60 * k)  # clockwise from the top
                point = (cx + size * math.cos(angle), cy + size * math.sin(angle))
                key = (round(point[0], 6), round(point[1], 6))
                if key not in index:
                    index[key] = len(vertices)
                    vertices.append(point)
                ids.append(index[key])
            cells.append(ids)
    return vertices, cells


def quadtree(unit):
    """An 8 x 8 block of 2 x 2 cells, refined to 1 x 1 in its middle, with some
    2 x 2 cells split into an L (not convex) and a square. Each cell lists every
    corner of a neighbour on its edges (hanging corners), clockwise."""
    outlines = []
    for bx in range(0, 8, 2):
        for by in range(0, 8, 2):
            if 2 <= bx < 6 and 2 <= by < 6:
                outlines += [[(x, y), (x + 1, y), (x + 1, y + 1), (x, y + 1)]
                             for x in (bx, bx + 1) for y in (by, by + 1)]
            elif (bx + by) % 4 == 0:
                outlines.append([(bx, by), (bx + 2, by), (bx + 2, by + 1), (bx + 1, by + 1), (bx + 1, by + 2), (bx, by + 2)])
                outlines.append([(bx + 1, by + 1), (bx + 2, by + 1), (bx + 2, by + 2), (bx + 1, by + 2)])
            else:
                outlines.append([(bx, by), (bx + 2, by), (bx + 2, by + 2), (bx, by + 2)])
    corners = sorted({p for outline in outlines for p in outline})
    index = {p: i for i, p in enumerate(corners)}
    cells = []
    for outline in outlines:
        ring = []
        for a, b in zip(outline, outline[1:] + outline[:1]):
            on_edge = [p for p in corners if p not in (a, b)
                       and (b[0] - a[0]) * (p[1] - a[1]) == (b[1] - a[1]) * (p[0] - a[0])
                       and min(a[0], b[0]) <= p[0] <= max(a[0], b[0]) and min(a[1], b[1]) <= p[1] <= max(a[1], b[1])]
            on_edge.sort(key=lambda p: abs(p[0] - a[0]) + abs(p[1] - a[1]))
            ring += [a] + on_edge
        cells.append([index[p] for p in reversed(ring)])  # clockwise, as MODFLOW 6 asks
    return [(x * unit, y * unit) for x, y in corners], cells


def run_dump(text):
    done = subprocess.run([DUMP], input=text, capture_output=True, text=True)
    if done.returncode != 0:
        raise SystemExit(f"overlap_table_dump failed: {done.stderr}")
    areas, shares, outside = {}, {}, {}
    for line in done.stdout.splitlines():
        words = line.split()
        if words[0] == "area":
            areas[int(words[1])] = float(words[2])
        elif words[0] == "share":
            shares[(int(words[1]), int(words[2]))] = float(words[3])
        else:
            outside[int(words[1])] = float(words[2])
    return areas, shares, outside


def check(name, tamvek, model, expect):
    text, polygons = model
    areas, shares, outside = run_dump(tamvek.line() + text)
    faults = []
    for m, polygon in enumerate(polygons):
        if abs(areas.get(m, 0.0) - polygon.area) > RELATIVE * polygon.area:
            faults.append(f"model cell {m}: area {areas.get(m)} where shapely has {polygon.area}")

    cells = tamvek.cells()
    cell_area = cells[0].area
    bounds = np.array([p.bounds for p in polygons])
    covered_by_model = unary_union(polygons)
    expected = {}
    total_outside = 0.0
    for t, cell in enumerate(cells):
        xmin, ymin, xmax, ymax = cell.bounds
        near = np.nonzero((bounds[:, 0] < xmax) & (bounds[:, 2] > xmin) & (bounds[:, 1] < ymax) & (bounds[:, 3] > ymin))[0]
        for m in near:
            overlap = cell.intersection(polygons[m]).area
            if overlap > 0:
                expected[(t, int(m))] = overlap / cell_area
        outside_expected = 1 - cell.intersection(covered_by_model).area / cell_area
        if abs(outside.get(t, 0.0) - outside_expected) > RELATIVE:
            faults.append(f"tamvek cell {t}: outside {outside.get(t, 0.0)} where shapely has {outside_expected}")
        total_outside += outside.get(t, 0.0)
        whole = outside.get(t, 0.0) + sum(s for (tc, _), s in shares.items() if tc == t)
        if abs(whole - 1) > RELATIVE:
            faults.append(f"tamvek cell {t}: its shares and outside sum to {whole}")
    for key in sorted(set(expected) | set(shares)):
        want, got = expected.get(key, 0.0), shares.get(key, 0.0)
        if abs(got - want) > RELATIVE * want + SLIVER:
            faults.append(f"tamvek cell {key[0]}, model cell {key[1]}: share {got} where shapely has {want}")
    if expect == "nothing outside" and total_outside != 0:
        faults.append(f"{total_outside} of a cell is outside a model that covers tamvek's grid")
    if expect == "some outside" and not total_outside > 0:
        faults.append("nothing is outside a model that covers part of tamvek's grid")
    if expect == "one to one" and any(s != 1.0 for s in shares.values()):
        faults.append("tamvek's own grid does not map each cell whole onto one model cell")
    print(f"{name}: {len(polygons)} model cells, {len(shares)} overlaps, outside {total_outside:.6g} cells,"
          f" {len(faults)} faults")
    for fault in faults[:10]:
        print("  " + fault)
    return not faults


def main():
    random = np.random.RandomState(21)
    feet = Tamvek(10, 8, 1500000.0, 700000.0, 660.0, 660.0, 1.0)
    metres = Tamvek(10, 8, 1500000.0, 700000.0, 660.0, 528.0, METRES)
    x0, y0 = 1500000.0 * METRES, 700000.0 * METRES  # metres, tamvek's lower-left corner

    cases = [
        ("tamvek's own grid", feet, dis(1500000.0, 700000.0, 0.0, [660.0] * 10, [660.0] * 8), "one to one"),
        ("refined DIS in metres", metres,
         dis(x0 - 100.0, y0 - 80.0, 0.0, random.uniform(25, 110, 34), random.uniform(20, 95, 30)), "nothing outside"),
        ("shifted by half a cell", feet,
         dis(1500000.0 + 330.0, 700000.0 - 330.0, 0.0, [660.0] * 10, [660.0] * 8), "some outside"),
        ("rotated by 30 degrees", metres,
         dis(x0 + 300.0, y0 - 400.0, 30.0, random.uniform(30, 90, 30), random.uniform(30, 90, 25)), "some outside"),
        ("larger than tamvek's grid", feet,
         dis(1500000.0 - 2500.25, 700000.0 - 4000.0, 10.0, random.uniform(200, 700, 30), random.uniform(200, 700, 30)),
         "nothing outside"),
        ("smaller, within tamvek's grid", feet,
         dis(1500000.0 + 3300.0, 700000.0 + 200.0, 45.0, random.uniform(50, 300, 12), random.uniform(50, 300, 9)),
         "some outside"),
        ("DISV of hexagons", metres, disv(x0 + 150.0, y0 - 50.0, 12.0, *hexagons(95.0, 14, 14)), "some outside"),
        ("DISV quadtree with L-shaped cells", metres,
         disv(x0 + 200.0, y0 + 900.0, -17.5, *quadtree(140.0), fortran_exponents=True), "some outside"),
    ]
    results = [check(name, tamvek, model, expect) for name, tamvek, model, expect in cases]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
