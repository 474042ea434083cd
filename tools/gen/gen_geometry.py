#!/usr/bin/python3
"""Writes shell/geometry.h, the places of the dialogs and the HUD, from tools/gen/art/geometry.py.

The art scripts draw from the same file, so a panel's buttons and the places the
game tests and draws them cannot drift apart. Needs only Python 3.

Usage:
    /usr/bin/python3 tools/gen/gen_geometry.py          # writes shell/geometry.h
    /usr/bin/python3 tools/gen/gen_geometry.py --check  # fails when the header is not what it would write
"""

import ast
import io
import os
import sys
import tokenize

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SOURCE = os.path.join(ROOT, "tools", "gen", "art", "geometry.py")
HEADER = os.path.join(ROOT, "shell", "geometry.h")

PREAMBLE = """\
// Where the dialogs, their buttons and the HUD stand on the 800 x 600 screen.
// Written by tools/gen/gen_geometry.py from tools/gen/art/geometry.py, which the
// art scripts draw from too: change the places there and run it again.
#ifndef TOVI_SHELL_GEOMETRY_H
#define TOVI_SHELL_GEOMETRY_H

#include <SDL.h>

struct ScreenAt {
    int x, y;
};
struct ScreenSize {
    int w, h;
};
"""


def comments(text):
    """Line number -> the text of a comment standing alone on that line."""
    out = {}
    for tok in tokenize.generate_tokens(io.StringIO(text).readline):
        if tok.type == tokenize.COMMENT and tok.line.strip().startswith("#"):
            out[tok.start[0]] = tok.string[1:].strip()
    return out


def is_ints(value, n):
    return isinstance(value, tuple) and len(value) == n and all(type(v) is int for v in value)


def declaration(name, value):
    """The C++ declaration of one name, or None when its value has no form here."""
    if type(value) is int:
        return "constexpr int %s = %d;" % (name, value)
    if is_ints(value, 2):
        kind = "ScreenSize" if name.endswith("_SIZE") else "ScreenAt"
        return "constexpr %s %s = {%d, %d};" % (kind, name, value[0], value[1])
    if is_ints(value, 4):
        return "constexpr SDL_Rect %s = {%d, %d, %d, %d};" % ((name,) + value)
    if isinstance(value, list) and value:
        if all(is_ints(v, 2) for v in value):
            kind = "ScreenAt"
        elif all(is_ints(v, 4) for v in value):
            kind = "SDL_Rect"
        else:
            return None
        items = ", ".join("{%s}" % ", ".join(str(n) for n in v) for v in value)
        return "constexpr %s %s[%d] = {%s};" % (kind, name, len(value), items)
    return None


def header(text):
    tree = ast.parse(text)
    notes = comments(text)
    lines = [PREAMBLE.rstrip("\n")]
    last = 0
    for node in tree.body:
        if isinstance(node, ast.Expr):  # the docstring
            last = node.end_lineno
            continue
        if not (isinstance(node, ast.Assign) and len(node.targets) == 1 and isinstance(node.targets[0], ast.Name)):
            raise SystemExit("gen_geometry: line %d: only NAME = literal belongs in %s" % (node.lineno, SOURCE))
        name = node.targets[0].id
        try:
            value = ast.literal_eval(node.value)
        except ValueError:
            raise SystemExit("gen_geometry: line %d: %s is not a literal" % (node.lineno, name))
        decl = declaration(name, value)
        if decl is None:
            raise SystemExit("gen_geometry: line %d: %s has no C++ form" % (node.lineno, name))
        above = [n for n in range(last + 1, node.lineno) if n in notes]
        if above and notes[above[0]].startswith("----") and lines[-1] != "":
            lines.append("")
        for n in above:
            lines.append("// " + notes[n] if notes[n] else "//")
        lines.append(decl)
        last = node.end_lineno
    lines.append("")
    lines.append("#endif")
    return "\n".join(lines) + "\n"


def main(argv):
    with open(SOURCE, encoding="utf-8") as f:
        text = header(f.read())
    if argv[1:] == ["--check"]:
        try:
            with open(HEADER, encoding="utf-8") as f:
                current = f.read()
        except OSError as e:
            sys.exit("gen_geometry: cannot read %s: %s" % (HEADER, e))
        if current != text:
            sys.exit("gen_geometry: shell/geometry.h is not what tools/gen/art/geometry.py gives; "
                     "run /usr/bin/python3 tools/gen/gen_geometry.py")
        print("gen_geometry: shell/geometry.h is current")
        return
    if argv[1:]:
        sys.exit(__doc__)
    with open(HEADER, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    print("gen_geometry: wrote shell/geometry.h")


if __name__ == "__main__":
    main(sys.argv)
