#!/usr/bin/env python3
"""Derives the helper's built-in base map from Natural Earth's 1:10m land polygons.

    quorvin/data/make_base_map.py [world-atlas package folder]

Without an argument it fetches the npm package world-atlas (`npm pack world-atlas`) into a
temporary folder. It reads land-10m.json (TopoJSON), cuts every land ring to the region
122-154 E, 20-46 N and writes japan_land.bin beside this script. Run once; the output is
committed, so builds and CI never download anything.

japan_land.bin, all numbers little-endian:
    "QVLAND1\\0"                     8 bytes
    i32 west, south, east, north     the region, in millionths of a degree
    u32 ring count
    per ring: u32 point count, then per point i32 longitude, i32 latitude (millionths of a
              degree). Rings are closed implicitly (last point joins the first).
Land is inside an odd number of rings (lakes are rings inside land rings). A ring edge that
runs along the region's border is a cut, not a coast.
"""
import json
import os
import struct
import subprocess
import sys
import tempfile

WEST, SOUTH, EAST, NORTH = 122.0, 20.0, 154.0, 46.0
UNIT = 1_000_000


def decode_arcs(topology):
    sx, sy = topology["transform"]["scale"]
    tx, ty = topology["transform"]["translate"]
    arcs = []
    for arc in topology["arcs"]:
        x = y = 0
        points = []
        for dx, dy in arc:
            x += dx
            y += dy
            points.append((x * sx + tx, y * sy + ty))
        arcs.append(points)
    return arcs


def ring_points(ring, arcs):
    points = []
    for index in ring:
        arc = arcs[index] if index >= 0 else list(reversed(arcs[~index]))
        # Consecutive arcs share their joining point.
        points.extend(arc if not points else arc[1:])
    if len(points) > 1 and points[0] == points[-1]:
        points.pop()
    return points


def clip(points, inside, cross):
    """One Sutherland-Hodgman pass against one border."""
    out = []
    for i, current in enumerate(points):
        previous = points[i - 1]
        if inside(current):
            if not inside(previous):
                out.append(cross(previous, current))
            out.append(current)
        elif inside(previous):
            out.append(cross(previous, current))
    return out


def at_x(x):
    return lambda a, b: (x, a[1] + (b[1] - a[1]) * (x - a[0]) / (b[0] - a[0]))


def at_y(y):
    return lambda a, b: (a[0] + (b[0] - a[0]) * (y - a[1]) / (b[1] - a[1]), y)


def clip_to_region(points):
    for inside, cross in (
        (lambda p: p[0] >= WEST, at_x(WEST)),
        (lambda p: p[0] <= EAST, at_x(EAST)),
        (lambda p: p[1] >= SOUTH, at_y(SOUTH)),
        (lambda p: p[1] <= NORTH, at_y(NORTH)),
    ):
        if not points:
            break
        points = clip(points, inside, cross)
    return points


def quantize(points):
    out = []
    for lon, lat in points:
        q = (round(lon * UNIT), round(lat * UNIT))
        if not out or out[-1] != q:
            out.append(q)
    if len(out) > 1 and out[0] == out[-1]:
        out.pop()
    return out


def main():
    if len(sys.argv) > 1:
        package = sys.argv[1]
    else:
        temp = tempfile.mkdtemp()
        subprocess.run(["npm", "pack", "world-atlas@2.0.2"], cwd=temp, check=True)
        subprocess.run("tar xzf world-atlas-*.tgz", shell=True, cwd=temp, check=True)
        package = os.path.join(temp, "package")
    with open(os.path.join(package, "land-10m.json")) as f:
        topology = json.load(f)
    arcs = decode_arcs(topology)
    rings = []
    for geometry in topology["objects"]["land"]["geometries"]:
        polygons = geometry["arcs"] if geometry["type"] == "MultiPolygon" else [geometry["arcs"]]
        for polygon in polygons:
            for ring in polygon:
                points = quantize(clip_to_region(ring_points(ring, arcs)))
                if len(points) >= 3:
                    rings.append(points)
    out = bytearray(b"QVLAND1\0")
    out += struct.pack("<4i", *(round(v * UNIT) for v in (WEST, SOUTH, EAST, NORTH)))
    out += struct.pack("<I", len(rings))
    for ring in rings:
        out += struct.pack("<I", len(ring))
        for lon, lat in ring:
            out += struct.pack("<ii", lon, lat)
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "japan_land.bin")
    with open(target, "wb") as f:
        f.write(out)
    print(f"{target}: {len(rings)} rings, {sum(map(len, rings))} points, {len(out)} bytes")


if __name__ == "__main__":
    main()
