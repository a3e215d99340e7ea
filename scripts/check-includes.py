#!/usr/bin/env python3
"""Checks the include rules of docs/architecture.md against the sources.

Fails (exit 1, one line per finding) when a file includes from a folder its row of the
table does not allow, when the folders' rows form a circle, or when a CMake file adds
sources to a target of another folder. Usage: check-includes.py [SOURCE_DIR]
"""
import os
import re
import sys

SOURCE_SUFFIXES = (".h", ".cpp", ".inc", ".rc")
TEST_PARTS = {"tests", "testing", "bench", "fuzz"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+/[^"]+)"', re.M)
TARGET_SOURCES = re.compile(r"target_sources\(\s*([A-Za-z0-9_]+)")
TARGET_DEFINED = re.compile(r"add_(?:library|executable)\(\s*([A-Za-z0-9_]+)")


def read_rules(top):
    """The table between the include-rules markers: {row: (may, tests_may)}."""
    text = open(os.path.join(top, "docs", "architecture.md"), encoding="utf-8").read()
    table = text.split("<!-- include-rules: begin -->")[1].split("<!-- include-rules: end -->")[0]
    rules = {}
    for line in table.strip().splitlines()[2:]:
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        names = [re.findall(r"`([^`]+)`", cell) for cell in cells]
        rules[names[0][0]] = (names[1], names[2])
    return rules


def files_under(top, accept):
    """The project's files (build directories left out) whose name `accept` takes."""
    for root, dirs, files in os.walk(top):
        dirs[:] = [d for d in dirs if not d.startswith((".", "build"))]
        for name in files:
            if accept(name):
                yield os.path.relpath(os.path.join(root, name), top).replace(os.sep, "/")


def is_source(name):
    return name.endswith(SOURCE_SUFFIXES)


def is_cmake(name):
    return name == "CMakeLists.txt" or name.endswith(".cmake")


def is_test(path):
    parts = path.split("/")
    return parts[-1].endswith("_test.cpp") or any(part in TEST_PARTS for part in parts[:-1])


def row_of(path, rules):
    """The most specific row whose key is a prefix of the path."""
    keys = [key for key in rules if path.startswith(key)]
    return max(keys, key=len) if keys else None


def allowed(target, entries):
    return any(target == entry or (entry.endswith("/") and target.startswith(entry)) for entry in entries)


def circles(rules):
    edges = {key: {entry.split("/")[0] + "/" for entry in may} for key, (may, _) in rules.items() if key.endswith("/")}
    found, state = [], {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == "open":
                found.append(" -> ".join(trail[trail.index(nxt):] + [nxt]))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node, [node])
    return found


def main():
    top = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    rules = read_rules(top)
    findings = ["the folders' rows form a circle: " + circle for circle in circles(rules)]
    checked = 0
    for path in sorted(files_under(top, is_source)):
        row = row_of(path, rules)
        if row is None:
            continue
        checked += 1
        may, tests_may = rules[row]
        folder = path.split("/")[0] + "/"
        entries = [folder] + may
        if is_test(path):
            entries += tests_may + rules.get(folder, ([], []))[0]
        text = open(os.path.join(top, path), encoding="utf-8", errors="replace").read()
        for target in INCLUDE.findall(text):
            if "/testing/" in target and is_test(path):
                continue
            if not allowed(target, entries):
                findings.append(f"{path}: includes {target}, which the row of {row} does not allow")
    for path in sorted(files_under(top, is_cmake)):
        folder = os.path.dirname(path)
        defined = set()
        for name in filter(is_cmake, os.listdir(os.path.join(top, folder))):
            defined |= set(TARGET_DEFINED.findall(open(os.path.join(top, folder, name), encoding="utf-8").read()))
        for target in TARGET_SOURCES.findall(open(os.path.join(top, path), encoding="utf-8").read()):
            if target not in defined:
                findings.append(f"{path}: adds sources to {target}, a target of another folder")
    for finding in findings:
        print(finding)
    print(f"include rules: {checked} files checked, {len(findings)} findings")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
