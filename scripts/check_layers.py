#!/usr/bin/env python3
"""Checks that the folders include each other only down the chain of layers.

Reads every `#include "folder/..."` of the layer folders and fails, naming the file, when one
reaches a folder its own folder may not use, or when the folders include each other in a cycle.

    scripts/check_layers.py [ROOT]
"""
import pathlib
import re
import sys

# The layers and the layers each one builds on directly; it may use these and everything
# below them. The libraries of the same names link the same way (see CMakeLists.txt).
LAYERS = {
    "keyboard": [],
    "platform": ["keyboard"],
    "device": ["platform"],
    "model": ["keyboard"],
    "store": ["model", "device"],
    "control": ["store"],
    "sim": ["device", "model"],
    "cli": ["control", "sim"],
    "skin": ["control"],
    "dialogs": ["skin"],
    "app": ["dialogs", "sim"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/')


def below(layer, seen=None):
    seen = set() if seen is None else seen
    for lower in LAYERS[layer]:
        if lower not in seen:
            seen.add(lower)
            below(lower, seen)
    return seen


def includes(root):
    """(folder, included folder, file, line number) for every include between layer folders."""
    for folder in LAYERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and match.group(1) in LAYERS and match.group(1) != folder:
                    yield folder, match.group(1), path.relative_to(root), number


def cycle(edges):
    """One cycle of the folder graph as a list of folders, or None."""
    state = {}

    def visit(node, path):
        state[node] = "open"
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == "open":
                return path[path.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, path + [nxt])
                if found:
                    return found
        state[node] = "done"
        return None

    for node in sorted(edges):
        if node not in state:
            found = visit(node, [node])
            if found:
                return found
    return None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    problems = []
    edges = {}
    for folder, used, path, number in includes(root):
        edges.setdefault(folder, set()).add(used)
        if used not in below(folder):
            problems.append(f"{path}:{number}: {folder}/ may not include {used}/")
    found = cycle(edges)
    if found:
        problems.append("the folders include each other in a cycle: " + " -> ".join(found))
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
