#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

The layer order is read from docs/architecture.md (the ```layers block
under "## Layer order"): one layer per line, lowest first; a line may name
several folders that form one layer. A folder belongs to the longest
listed folder that prefixes it, so "platform/headless" is a layer of its
own above "platform". A file may include its own layer and any layer
listed before it; includes of folders that are not listed (system
headers, generated files) are not checked.

    check_layers.py SOURCE_DIR
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def read_layers(doc):
    text = doc.read_text(encoding="utf-8")
    section = re.search(r"^## Layer order\n(.*?)(?=^## )", text + "\n## ", re.S | re.M)
    if not section:
        sys.exit(f"{doc}: no '## Layer order' section")
    block = re.search(r"```layers\n(.*?)```", section.group(1), re.S)
    if not block:
        sys.exit(f"{doc}: the '## Layer order' section has no ```layers block")
    rank = {}
    for level, line in enumerate(l for l in block.group(1).splitlines() if l.strip()):
        for folder in line.split():
            if folder in rank:
                sys.exit(f"{doc}: {folder} is listed twice in the layer order")
            rank[folder] = level
    return rank


def layer_of(path, rank):
    """The listed folder that owns `path` (a path relative to src/), or None."""
    parts = path.split("/")
    for n in range(len(parts) - 1, 0, -1):
        folder = "/".join(parts[:n])
        if folder in rank:
            return folder
    return None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    rank = read_layers(root / "docs" / "architecture.md")
    src = root / "src"
    faults = []
    unlisted = set()
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp", ".inc") or not file.is_file():
            continue
        rel = file.relative_to(src).as_posix()
        own = layer_of(rel, rank)
        if own is None:
            unlisted.add(rel.split("/")[0])
            continue
        text = file.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            included = layer_of(match.group(1), rank)
            if included is not None and rank[included] > rank[own]:
                line = text.count("\n", 0, match.start()) + 1
                faults.append(f"src/{rel}:{line}: {own} includes \"{match.group(1)}\" "
                              f"from {included}, a layer above it")
    for folder in sorted(unlisted):
        faults.append(f"src/{folder}: not in the layer order of docs/architecture.md")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) against the layer order")
        return 1
    print(f"layer order respected: {len(rank)} folders")
    return 0


if __name__ == "__main__":
    sys.exit(main())
