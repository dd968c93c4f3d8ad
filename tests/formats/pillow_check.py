#!/usr/bin/env python3
"""Opens each file of a manifest with Pillow and compares its pixels with a reference
PNG. Manifest lines: FILE REFERENCE TOLERANCE. Exit 0 when every file matches."""
import sys
from PIL import Image, ImageChops

def main(manifest):
    failures = 0
    for line in open(manifest, encoding='utf-8'):
        if not line.strip():
            continue
        name, ref, tol = line.split()
        try:
            got = Image.open(name)
            got.load()
            got = got.convert('RGB')
        except Exception as e:  # any refusal is a failure of ours
            print(f'{name}: Pillow refused it: {e}')
            failures += 1
            continue
        want = Image.open(ref).convert('RGB')
        if got.size != want.size:
            print(f'{name}: size {got.size} instead of {want.size}')
            failures += 1
            continue
        worst = max(hi for lo, hi in ImageChops.difference(got, want).getextrema())
        if worst > int(tol):
            print(f'{name}: pixels differ by {worst} (tolerance {tol})')
            failures += 1
    return 1 if failures else 0

sys.exit(main(sys.argv[1]))
