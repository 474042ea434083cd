#!/usr/bin/python3
"""Makes every image of the game under media/images/ from the sources in tools/gen/art/.

Each module in tools/gen/art/ that has a build() function makes one family of
images; they run in a fixed order so a second run gives byte-identical files.

Usage (Debian packages python3-pil, python3-numpy, python3-scipy, python3-cairosvg,
fonts-averia-serif-gwf):
    /usr/bin/python3 tools/gen/gen_art.py            # everything
    /usr/bin/python3 tools/gen/gen_art.py board ui   # only the named modules
"""

import importlib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "art"))

# The families, in the order they are made (later ones may reuse earlier output).
MODULES = ["board", "ui", "hero", "scene", "pictures"]


def main(argv):
    wanted = argv[1:] or MODULES
    for name in wanted:
        if name not in MODULES:
            sys.exit("gen_art: unknown module %s (known: %s)" % (name, ", ".join(MODULES)))
        path = os.path.join(HERE, "art", name + ".py")
        if not os.path.exists(path):
            print("gen_art: %s not written yet, skipped" % name)
            continue
        print("gen_art: %s" % name, flush=True)
        importlib.import_module(name).build()


if __name__ == "__main__":
    main(sys.argv)
