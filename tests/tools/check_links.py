#!/usr/bin/env python3
"""Every relative link of the given Markdown files must point at a file or folder that
exists, and a link with #anchor at a heading of the Markdown file it names.

    check_links.py ROOT FILE...    (FILE relative to ROOT; globs such as docs/*.md allowed)

Links inside fenced code blocks and code spans are not links. Anchors are made from
headings as GitHub makes them: lower case, every character that is not a letter, digit,
space, hyphen or underscore dropped, spaces turned into hyphens, and -1, -2, ... after
repeated headings. Exit status 0 when every link holds, 1 with one line per broken link.
"""

import re
import sys
from pathlib import Path

LINK = re.compile(r"!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
FENCE = re.compile(r"^\s*(```|~~~)")
CODE_SPAN = re.compile(r"(`+).*?\1")


def prose_lines(text):
    """(line number, line) outside fenced code blocks, with code spans blanked."""
    fenced = False
    for number, line in enumerate(text.splitlines(), 1):
        if FENCE.match(line):
            fenced = not fenced
            continue
        if not fenced:
            yield number, CODE_SPAN.sub(lambda m: " " * len(m.group(0)), line)


def slug(heading):
    heading = re.sub(r"<[^>]+>", "", heading).strip().lower()
    heading = "".join(c for c in heading if c.isalnum() or c in " -_")
    return heading.replace(" ", "-")


def heading_texts(path):
    """Headings with their code spans intact (prose_lines blanks them)."""
    fenced = False
    for line in path.read_text(encoding="utf-8").splitlines():
        if FENCE.match(line):
            fenced = not fenced
        elif not fenced and re.match(r"^#{1,6}\s", line):
            yield line


def anchor_set(path, cache={}):
    if path not in cache:
        seen = {}
        result = set()
        for line in heading_texts(path):
            text = re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", line).group(1)
            base = slug(text.replace("`", ""))
            count = seen.get(base, 0)
            seen[base] = count + 1
            result.add(base if count == 0 else f"{base}-{count}")
        cache[path] = result
    return cache[path]


def check(root, files):
    broken = []
    for file in files:
        for number, line in prose_lines(file.read_text(encoding="utf-8")):
            for target in LINK.findall(line):
                if re.match(r"^[a-z][a-z0-9+.-]*:", target, re.I):
                    continue  # http:, https:, mailto: ...
                where = f"{file.relative_to(root)}:{number}: {target}"
                path_part, _, anchor = target.partition("#")
                dest = (file.parent / path_part).resolve() if path_part else file
                if not dest.exists():
                    broken.append(f"{where}: no such file")
                    continue
                if anchor:
                    if dest.suffix != ".md" or dest.is_dir():
                        broken.append(f"{where}: an anchor into a file that is not Markdown")
                    elif anchor not in anchor_set(dest):
                        broken.append(f"{where}: no heading with that anchor")
    return broken


def main(argv):
    if len(argv) < 3:
        print("usage: check_links.py ROOT FILE...", file=sys.stderr)
        return 2
    root = Path(argv[1]).resolve()
    files = []
    for pattern in argv[2:]:
        found = sorted(root.glob(pattern))
        if not found:
            print(f"check_links.py: nothing matches {pattern}", file=sys.stderr)
            return 2
        files.extend(found)
    broken = check(root, files)
    for line in broken:
        print(line)
    print(f"{len(files)} files, {'no broken links' if not broken else f'{len(broken)} broken links'}")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
