#!/usr/bin/env python3
"""The include graph of the engine above engine/platform.

A unit is a header and its source counted as one (CScreen.h + CScreen.cpp).
Units belong to layers, defined in engine/LAYERS.md: a table of layers, the
files that make up each one, and the layers each may include. This script
reads that table, so the table is the one place where the rule is written.

    scripts/include_graph.py folders   folder-to-folder include counts
    scripts/include_graph.py layers    layer-to-layer include counts (engine/LAYERS.md's layers)
    scripts/include_graph.py circles   units that include each other in circles
    scripts/include_graph.py check     fails on an include the table does not allow,
                                       and on a circle the table does not name
"""

import fnmatch
import os
import re
import sys
from collections import defaultdict
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# LVX_ENGINE_DIR points the script at another copy of engine/ (its own test).
ENGINE = Path(os.environ.get("LVX_ENGINE_DIR", ROOT / "engine"))
LAYERS_FILE = ENGINE / "LAYERS.md"
ENGINE_FOLDERS = ("core", "scene", "animation", "objects", "meshes")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]')
# Libraries that belong behind the platform layer's interfaces.
FORBIDDEN_LIBRARIES = re.compile(r"^(SDL2?/|SDL[_.]|imgui|Qt|Q[A-Z]|X11/|EGL/|GL/|epoxy/|assimp/)")


def engine_sources():
    for folder in ENGINE_FOLDERS:
        for path in sorted((ENGINE / folder).glob("*")):
            if path.suffix in (".h", ".cpp"):
                yield path.relative_to(ENGINE).as_posix()


def unit_of(path):
    return path.rsplit(".", 1)[0]


def includes_of(path):
    with open(ENGINE / path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if match:
                yield number, match.group(1)


def unit_graph():
    """Edges unit -> included unit, engine units above the platform only."""
    edges = defaultdict(set)
    units = set()
    for path in engine_sources():
        unit = unit_of(path)
        units.add(unit)
        for _, included in includes_of(path):
            target = unit_of(included)
            if included.split("/")[0] in ENGINE_FOLDERS and target != unit:
                edges[unit].add(target)
    return units, edges


def strongly_connected(units, edges):
    """Tarjan's algorithm; returns the components with more than one unit."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for target in sorted(edges.get(node, ())):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for unit in sorted(units):
        if unit not in index:
            visit(unit)
    return found


def quoted(cell):
    return re.findall(r"`([^`]+)`", cell)


def matches(path, patterns):
    return any(fnmatch.fnmatch(path, pattern) for pattern in patterns)


class Layers:
    """The tables of engine/LAYERS.md: the layers, the upward includes the
    design needs, and the circles they make."""

    def __init__(self, text):
        self.order = []
        self.patterns = {}
        self.allowed_layers = {}
        self.allowed_files = {}
        self.upward = []  # (from patterns, included patterns)
        self.circles = []  # unit patterns
        section = None
        for line in text.splitlines():
            if line.startswith("## "):
                section = line[3:].strip().lower()
                continue
            if not line.startswith("|") or set(line) <= set("|-: "):
                continue
            cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
            if not quoted(cells[0]):
                continue  # the heading row
            if section == "layers":
                self.add_layer(cells)
            elif section == "upward includes":
                self.upward.append((quoted(cells[0]), quoted(cells[1])))
            elif section == "circles":
                self.circles.append(quoted(cells[0]))

    def add_layer(self, cells):
        name = quoted(cells[0])[0]
        self.order.append(name)
        self.patterns[name] = quoted(cells[1])
        allowed = quoted(cells[2])
        self.allowed_layers[name] = {entry for entry in allowed if "/" not in entry} | {name}
        self.allowed_files[name] = [entry for entry in allowed if "/" in entry]

    def layer_of(self, path):
        for name in self.order:
            if matches(path, self.patterns[name]):
                return name
        return None

    def allows(self, path, own, included, target):
        if target in self.allowed_layers[own] or matches(included, self.allowed_files[own]):
            return True
        return any(matches(path, sources) and matches(included, targets) for sources, targets in self.upward)

    def names_circle(self, component):
        return any(all(matches(unit, patterns) for unit in component) for patterns in self.circles)


def check():
    layers = Layers(LAYERS_FILE.read_text(encoding="utf-8"))
    problems = []
    for path in engine_sources():
        own = layers.layer_of(path)
        if own is None:
            problems.append(f"{path}: belongs to no layer of {LAYERS_FILE.name}")
            continue
        for number, included in includes_of(path):
            if FORBIDDEN_LIBRARIES.match(included) or included.startswith(("platform/sdl/", "platform/x11/")):
                problems.append(f"{path}:{number}: includes <{included}>; the engine's layers above the "
                                "platform use the platform's interfaces, hosts register the implementations")
                continue
            first = included.split("/")[0]
            if first == "platform":
                if "platform" not in layers.allowed_layers[own]:
                    problems.append(f"{path}:{number}: layer {own} may not include {included}")
                continue
            if first not in ENGINE_FOLDERS:
                continue
            target = layers.layer_of(included)
            if target is None:
                problems.append(f"{path}:{number}: {included} belongs to no layer")
            elif not layers.allows(path, own, included, target):
                problems.append(f"{path}:{number}: layer {own} may not include {included} (layer {target})")
    units, edges = unit_graph()
    for component in strongly_connected(units, edges):
        if not layers.names_circle(component):
            problems.append("include circle not named in LAYERS.md: " + " ".join(component))
    for problem in problems:
        print(problem)
    print(f"layering: {len(problems)} problem(s) in {sum(1 for _ in engine_sources())} files")
    return 1 if problems else 0


def folders():
    counts = defaultdict(int)
    for path in engine_sources():
        own = path.split("/")[0]
        for _, included in includes_of(path):
            first = included.split("/")[0]
            if first in ENGINE_FOLDERS and first != own:
                counts[(own, first)] += 1
            elif first == "platform" and len(included.split("/")) > 2:
                counts[(own, "platform/" + included.split("/")[1])] += 1
    for (source, target), count in sorted(counts.items()):
        print(f"{source:10s} -> {target:18s} {count:3d}")


def layer_edges():
    layers = Layers(LAYERS_FILE.read_text(encoding="utf-8"))
    counts = defaultdict(int)
    for path in engine_sources():
        own = layers.layer_of(path)
        for _, included in includes_of(path):
            first = included.split("/")[0]
            target = layers.layer_of(included) if first in ENGINE_FOLDERS else None
            if target is not None and target != own:
                named = own in layers.allowed_layers and not (
                    target in layers.allowed_layers[own] or matches(included, layers.allowed_files[own]))
                counts[(own, target, "   (upward)" if named else "")] += 1
    for (source, target, upward), count in sorted(counts.items()):
        print(f"{source:13s} -> {target:13s} {count:3d}{upward}")


def circles():
    units, edges = unit_graph()
    components = strongly_connected(units, edges)
    for component in components:
        print(f"circle of {len(component)} units: " + " ".join(component))
    in_circles = sum(len(c) for c in components)
    print(f"{in_circles} of {len(units)} units sit in include circles")


def main(argv):
    commands = {"check": check, "folders": folders, "layers": layer_edges, "circles": circles}
    if len(argv) != 2 or argv[1] not in commands:
        print(__doc__)
        return 2
    return commands[argv[1]]() or 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
