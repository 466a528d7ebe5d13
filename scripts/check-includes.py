#!/usr/bin/env python3
"""Fails when the units of sequa/core include one another in a loop, or a
room includes a room above it.

A unit is a header and its source (X.h and X.cpp); unit A depends on B when
either file of A includes B.h. The one loop allowed is the command registry
and its groups: the registry calls every group to fill itself, and each
group's handlers add themselves to the registry (commands/).

The rooms stand in layers (ARCHITECTURE.md); a file includes only its own
room and those below it. The files in sequa/core itself stand at two heights:
the main model and the host's choice just above run/, SequaProgram and its
timer just above commands/.
"""
import os
import re
import subprocess
import sys

ROOT = "sequa/core"
ALLOWED = re.compile(r"^sequa/core/commands/")
INCLUDE = re.compile(r'^\s*#include "([^"]+)"', re.M)


# Rooms from the bottom up; a name without a folder is a file of sequa/core itself.
LAYERS = [
    {"run"},
    {"MainModel", "CreateHostAppObject", "HostSettings", "SequaTexts"},
    {"files"},
    {"commands"},
    {"SequaProgram", "QuarterSecondTimer"},
    {"resume"},
    {"play"},
    {"recorder"},
    {"start"},
    {"check"},
]


def height(path):
    """The layer of a file of sequa/core, or None when no layer names it."""
    rel = path[len(ROOT) + 1:]
    name = rel.split("/")[0] if "/" in rel else os.path.splitext(rel)[0]
    for i, layer in enumerate(LAYERS):
        if name in layer:
            return i
    return None


def upward_includes():
    files = subprocess.run(["git", "ls-files", ROOT], capture_output=True, text=True, check=True).stdout.split()
    found = []
    for path in files:
        if not path.endswith((".h", ".cpp")) or not os.path.exists(path):
            continue
        here = height(path)
        if here is None:
            found.append(f"{path} stands in no room of the order: add its room to LAYERS in {__file__}")
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for inc in INCLUDE.findall(text):
            if not inc.startswith(ROOT + "/"):
                continue
            there = height(inc)
            if there is not None and there > here:
                found.append(f"{path} includes {inc}, a room above its own")
    return found


def units():
    files = subprocess.run(["git", "ls-files", ROOT], capture_output=True, text=True, check=True).stdout.split()
    graph = {}
    for path in files:
        if not path.endswith((".h", ".cpp")) or not os.path.exists(path):
            continue
        unit = os.path.splitext(path)[0]
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        deps = graph.setdefault(unit, set())
        for inc in INCLUDE.findall(text):
            target = os.path.splitext(inc)[0]
            if inc.startswith(ROOT + "/") and target != unit:
                deps.add(target)
    return {u: {d for d in deps if d in graph} for u, deps in graph.items()}


def loops(graph):
    """Tarjan's strongly connected components with more than one unit."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            visit(v)
    return found


def main():
    status = 0
    for problem in upward_includes():
        print(f"includes: {problem}")
        status = 1
    for component in loops(units()):
        if all(ALLOWED.match(u) for u in component):
            continue
        print(f"includes: {len(component)} units of {ROOT} include one another in a loop:")
        for u in component:
            print(f"  {u}")
        status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
