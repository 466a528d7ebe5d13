#!/usr/bin/env python3
"""Fails when the units of sequa/core include one another in a loop.

A unit is a header and its source (X.h and X.cpp); unit A depends on B when
either file of A includes B.h. The one loop allowed is the command registry
and its groups: the registry calls every group to fill itself, and each
group's handlers add themselves to the registry (commands/).
"""
import os
import re
import subprocess
import sys

ROOT = "sequa/core"
ALLOWED = re.compile(r"^sequa/core/commands/")
INCLUDE = re.compile(r'^\s*#include "([^"]+)"', re.M)


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
