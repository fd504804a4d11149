#!/usr/bin/env python3
"""The include graph between the folders of the library and the programs.

Each folder is a node: src/<subsystem>, include (the public headers), programs/<name>.
An edge A -> B is an #include "..." in a file of A that resolves to a file of B. The graph
must have no cycle, the library (src/ and include/) must include nothing of programs/, and
the public headers nothing of src/.

  include_graph.py <source-dir>           checks; status 1 and the offending edges if not
  include_graph.py <source-dir> --print   prints the edges as well
"""
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def node_of(root, path):
    rel = path.relative_to(root).parts
    if rel[0] == "include":
        return "include"
    if rel[0] in ("src", "programs") and len(rel) > 2:
        return f"{rel[0]}/{rel[1]}"
    return None


def resolve(root, source, name):
    candidates = [source.parent / name, root / "include" / name, root / "src" / name,
                  root / "programs" / name]
    if name.startswith("tandem/") and name.endswith("version.hpp"):
        return root / "include" / "tandem" / "version.hpp.in"
    for candidate in candidates:
        if candidate.is_file():
            return candidate
    return None


def edges(root):
    found = {}
    for folder in ("src", "include", "programs"):
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".hpp", ".cpp"):
                continue
            a = node_of(root, path)
            for name in INCLUDE.findall(path.read_text()):
                target = resolve(root, path, name)
                b = node_of(root, target) if target else None
                if b and b != a:
                    found.setdefault((a, b), f"{path.relative_to(root)}: {name}")
    return found


def cycles(nodes, graph):
    """Every strongly connected component of more than one node (Tarjan)."""
    index, low, stack, on_stack, result = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in graph.get(v, ()):
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
                result.append(sorted(component))

    for v in sorted(nodes):
        if v not in index:
            visit(v)
    return result


def main():
    root = Path(sys.argv[1]).resolve()
    found = edges(root)
    graph, nodes = {}, set()
    for a, b in found:
        graph.setdefault(a, []).append(b)
        nodes.update((a, b))
    if "--print" in sys.argv[2:]:
        for (a, b), where in sorted(found.items()):
            print(f"{a} -> {b}    ({where})")
    faults = []
    for component in cycles(nodes, graph):
        inside = [f"  {a} -> {b} ({w})" for (a, b), w in sorted(found.items())
                  if a in component and b in component]
        faults.append("cycle among " + ", ".join(component) + ":\n" + "\n".join(inside))
    for (a, b), where in sorted(found.items()):
        if a.startswith(("src/", "include")) and b.startswith("programs/"):
            faults.append(f"the library includes a program: {a} -> {b} ({where})")
        if a == "include" and b.startswith("src/"):
            faults.append(f"a public header includes an internal one: ({where})")
    print(f"{len(nodes)} folders, {len(found)} edges, {len(cycles(nodes, graph))} cycles")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
