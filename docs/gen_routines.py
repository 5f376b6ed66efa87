#!/usr/bin/env python3
"""Writes docs/routines.md, the routine index: every routine declared in a header under src/,
the file that defines it and one line of purpose taken from the header's comment.

A name printed in a frame (cut to 11 characters there) is found here by its first letters.
Run from the project root; with --check it only compares and exits 1 when the index is stale.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SRC = ROOT / "src"
OUT = ROOT / "docs" / "routines.md"

DECL = re.compile(r"^(?:inline\s+|constexpr\s+|\[\[nodiscard\]\]\s+)*"
                  r"(?:[\w:]+(?:<[^;()]*>)?[\s*&]+)+(\w+)\s*\(")
SECTION = re.compile(r"^//\s*-+\s*(.*?)\s*-*\s*$")
SKIP = {"operator", "if", "for", "while", "switch", "return"}


def first_sentence(lines):
    text = " ".join(l.strip() for l in lines).strip()
    m = re.match(r"(.+?[.;:])(\s|$)", text)
    s = m.group(1) if m else text
    return s.rstrip(".;:")


def definition_file(name, header):
    pat = re.compile(r"^(?!\s)(?!.*;\s*$)(?:[\w:<>,\s*&\[\]]+?)\b(?:\w+::)*" + re.escape(name) + r"\s*\(")
    candidates = sorted(header.parent.glob("*.cpp")) + sorted(SRC.rglob("*.cpp"))
    for cpp in candidates:
        for line in cpp.read_text(encoding="utf-8").splitlines():
            if pat.match(line):
                return cpp
    return header  # defined inline in the header itself


def routines():
    rows = {}
    for hpp in sorted(SRC.rglob("*.hpp")):
        text = hpp.read_text(encoding="utf-8").splitlines()
        head = []
        for raw in text:
            if not raw.startswith("//"):
                break
            head.append(raw[2:])
        comment, section, depth = [], first_sentence(head) if head else "", 0
        for raw in text:
            line = raw.rstrip()
            stripped = line.strip()
            if depth == 0 and stripped.startswith("//"):
                sec = SECTION.match(stripped)
                if sec and stripped.startswith("// --"):
                    section, comment = sec.group(1), []
                else:
                    comment.append(stripped[2:])
                continue
            m = DECL.match(line) if depth == 0 else None
            if m and m.group(1) not in SKIP and not line.startswith(("struct", "class", "using", "namespace", "#")):
                name = m.group(1)
                trailing = line.split("//", 1)[1].strip() if "//" in line else ""
                purpose = trailing or (first_sentence(comment) if comment else section)
                if name not in rows:
                    rows[name] = (hpp, purpose)
            if stripped == "" or stripped.endswith((";", "}", "{")):
                comment = []
            opened = line.count("{") - line.count("}")
            if re.match(r"(inline\s+)?namespace\b", stripped) or stripped.startswith("}  // namespace"):
                opened = 0
            depth = max(0, depth + opened)
    return rows


def render(rows):
    out = ["# Routine index", "",
           "Every routine declared in a header under `src/`: where it is defined, and what it is for.",
           "A routine name printed in a frame is cut to 11 characters: look it up by its first letters.",
           "Made by `docs/gen_routines.py`; a test checks that it is current.", "",
           "| routine | file | purpose |", "|---|---|---|"]
    for name in sorted(rows, key=str.lower):
        hpp, purpose = rows[name]
        where = definition_file(name, hpp).relative_to(ROOT)
        purpose = purpose.replace("|", "\\|")
        out.append(f"| `{name}` | {where} | {purpose} |")
    return "\n".join(out) + "\n"


def main():
    text = render(routines())
    if "--check" in sys.argv[1:]:
        if not OUT.exists() or OUT.read_text(encoding="utf-8") != text:
            print("docs/routines.md is not current: run docs/gen_routines.py", file=sys.stderr)
            return 1
        return 0
    OUT.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
