#!/usr/bin/env python3
"""Writes the sample controller types to data/types/ from the theme tables.

    python3 data/tools/make_catalogues.py           regenerate the files
    python3 data/tools/make_catalogues.py --check   exit 1 when the committed files differ
"""

import argparse
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # keeps the source tree free of caches
sys.path.insert(0, str(Path(__file__).resolve().parent))

import themes_kxf2  # noqa: E402
import themes_kxs4  # noqa: E402
from catalogue import description_text  # noqa: E402

TYPES_DIR = Path(__file__).resolve().parent.parent / "types"
OUTPUTS = {
    "kxs4-servo.json": themes_kxs4.catalogue,
    "kxf2-inverter.json": themes_kxf2.catalogue,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    parser.add_argument("--types-dir", type=Path, default=TYPES_DIR)
    args = parser.parse_args()

    stale = []
    for file_name, make in OUTPUTS.items():
        path = args.types_dir / file_name
        text = description_text(make())
        if args.check:
            if not path.exists() or path.read_text(encoding="utf-8") != text:
                stale.append(str(path))
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text, encoding="utf-8")
            print("wrote %s" % path)
    if stale:
        print("out of date with the theme tables (run data/tools/make_catalogues.py): " + ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
