#!/usr/bin/env python3
"""Writes docs/cheatsheet.md from the public headers: every operation of every
module, grouped as the headers group them, with its one-line description.
With --check, answers 1 (and says why) when the file disagrees with them."""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
headers = [root / "include" / "zo.h"] + sorted((root / "include" / "zo").glob("*.h"))
namespace_re = re.compile(r"^namespace (zo\w+) \{")
section_re = re.compile(r"^//\s*-+\s*(.*?)\s*-*\s*$")
decl_start_re = re.compile(r"^[A-Za-z_][\w\s\*&:<>,]*?\b(\w+)\(")


def describe(comment_lines):
    text = " ".join(c.strip() for c in comment_lines).strip()
    return text.split(". ")[0].rstrip(".") if text else ""


def operations(path):
    """(module, section, declaration, description) for each function declared
    inside a zo namespace of one header."""
    lines = path.read_text(encoding="utf-8").splitlines()
    module, section, comments, out = None, "", [], []
    i = 0
    while i < len(lines):
        line = lines[i].rstrip()
        m = namespace_re.match(line)
        if m:
            module, section, comments = m.group(1), "", []
        elif line.startswith("}") and "namespace" in line:
            module = None
        elif module and section_re.match(line) and re.search(r"-{2,}", line):
            section, comments = section_re.match(line).group(1), []
        elif module and line.lstrip().startswith("//"):
            comments.append(line.lstrip()[2:])
        elif module and decl_start_re.match(line) and not line.lstrip().startswith(("return", "using")):
            decl = line
            while ";" not in decl and "{" not in decl and i + 1 < len(lines):
                i += 1
                decl += " " + lines[i].strip()
            if ";" in decl and "{" not in decl.split(";")[0]:
                body, _, tail = decl.partition(";")
                trailing = tail.strip()[2:] if tail.strip().startswith("//") else ""
                body = re.sub(r"\s+", " ", body).strip()
                out.append((module, section, body, describe([trailing]) if trailing else describe(comments)))
            comments = []
        elif not line.strip():
            comments = []
        i += 1
    return out


def render():
    by_module = {}
    for path in headers:
        for module, section, decl, text in operations(path):
            by_module.setdefault(module, []).append((section, decl, text))
    out = ["# zo cheatsheet", "",
           "Every public operation, by module, with what it does. Made by `tools/cheatsheet.py`",
           "from `include/zo/*.h`; the headers say more.", ""]
    for module in sorted(by_module):
        out += [f"## {module}", ""]
        current = None
        for section, decl, text in by_module[module]:
            if section != current and section:
                out += ["", f"**{section}**", ""]
            current = section
            out.append(f"- `{decl}`" + (f" — {text}" if text else ""))
        out.append("")
    return "\n".join(out).replace("\n\n\n", "\n\n")


def main():
    sheet = root / "docs" / "cheatsheet.md"
    text = render()
    if "--check" in sys.argv:
        if not sheet.exists() or sheet.read_text(encoding="utf-8") != text:
            print("docs/cheatsheet.md disagrees with include/zo/*.h: run tools/cheatsheet.py")
            return 1
        print("docs/cheatsheet.md matches the headers")
        return 0
    sheet.write_text(text, encoding="utf-8")
    print(f"wrote {sheet.relative_to(root)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
