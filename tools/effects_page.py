#!/usr/bin/env python3
"""Writes docs/effects.md from the index that the effect gallery writes beside
its pictures (tools/gallery/gallery.cpp): every picture by family, beside the
call that drew it and a line on what it shows.
  effects_page.py INDEX.txt docs/effects.md          write the page
  effects_page.py INDEX.txt docs/effects.md --check  answer 1 when it differs
The index holds one picture a line, tab-separated: name, family,
description, call; it is Shift-JIS, as the gallery's literals are."""
import html
import sys

INTRO = """# Software effects

Every software effect of zo, drawn by `tools/gallery/gallery.cpp` on the same
picture: the top-left 224 x 144 of the back surface holds a crop of the demo's
background (`bmp/back.bmp`), and `sprite` is a 96 x 96 object made of the
demo's four blocks, drawn at (64, 24). Black (0) is the sprite's transparent
value. Each picture was saved with `zoDraw::SaveScreen` on a 16-bit (5-6-5)
display. Where a call reads `Backdrop()` or `Sprite()`, the gallery draws the
background or the sprite as an ordinary blit; `frameDelta` is the frame time
the animated effects read.

`scripts/gallery` makes the pictures, this page and `effects/checksums.txt`;
`scripts/test` draws the pictures again and compares their pixels with the
checksums. The one-line summaries of every operation are in the
[cheatsheet](cheatsheet.md).
"""


def statements(call):
    """The call split at its top-level semicolons (not those of a for)."""
    out, depth, current = [], 0, ""
    for ch in call:
        if ch == "(":
            depth += 1
        elif ch == ")":
            depth -= 1
        if ch == ";" and depth == 0:
            out.append(current.strip())
            current = ""
        else:
            current += ch
    if current.strip():
        out.append(current.strip())
    return out


def cell(text):
    return html.escape(text, quote=False).replace("|", "&#124;")


def render(entries):
    lines = [INTRO]
    family = None
    for name, fam, description, call in entries:
        if fam != family:
            family = fam
            lines += ["", f"## {family}", "", "| Picture | Call |", "|---|---|"]
        code = "<br>".join(cell(s) + ";" for s in statements(call))
        lines.append(f"| ![{name}](effects/{name}.png) | <code>{code}</code><br>{cell(description)} |")
    return "\n".join(lines) + "\n"


def read_index(path):
    entries = []
    with open(path, encoding="cp932", newline="") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line:
                continue
            fields = line.split("\t")
            if len(fields) != 4 or not all(fields):
                sys.exit(f"{path}:{number}: expected name, family, description and call")
            entries.append(tuple(fields))
    if not entries:
        sys.exit(f"{path}: no pictures")
    return entries


def main(argv):
    if len(argv) not in (3, 4) or (len(argv) == 4 and argv[3] != "--check"):
        sys.exit(__doc__)
    page = render(read_index(argv[1]))
    if len(argv) == 4:
        try:
            current = open(argv[2], encoding="utf-8").read()
        except OSError as e:
            print(f"{argv[2]}: {e.strerror}")
            return 1
        if current != page:
            print(f"{argv[2]} differs from the gallery's index: run scripts/gallery")
            return 1
        return 0
    with open(argv[2], "w", encoding="utf-8") as f:
        f.write(page)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
