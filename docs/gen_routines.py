#!/usr/bin/env python3
"""Writes docs/routines.md, the routine index: every routine declared at namespace level in a
header under src/, keyed by its qualified name, with the header that declares it, the file
that defines it and its purpose, the first sentence of its own comment.

A routine's own comment is the block of comment lines directly above its declaration (no blank
line between; a `template <...>` line may stand between), or else the comment at the end of the
declaration's line. Caption lines (`// ---- Name ----`) are never part of it, and a note on a
group of routines stands apart from the routines' own comments, after a blank line. A routine
declared right under another one, without a comment of its own, has none: the generator names
it and stops.

Overloads share their row: the first declaration of a name in a header carries the comment.

Usage, from anywhere:
  python3 docs/gen_routines.py          writes docs/routines.md
  python3 docs/gen_routines.py --check  writes nothing; fails when a routine has no comment of
                                        its own, a row is not that routine's comment in its
                                        header, a routine has no row, or the index is stale
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SRC = ROOT / "src"
OUT = ROOT / "docs" / "routines.md"
REGENERATE = "python3 docs/gen_routines.py"
NOWHERE = "(nowhere)"

# Words that may stand right before a '(' without naming a routine.
NOT_NAMES = {"if", "for", "while", "switch", "return", "sizeof", "decltype", "alignas",
             "alignof", "static_assert", "noexcept", "requires", "typeid", "throw", "new",
             "delete", "void", "bool", "char", "int", "float", "double", "auto", "const"}
CAPTION = re.compile(r"^-{2,}.*-{2,}$")
# A full stop that ends a sentence: not one of "..", not after an abbreviation.
SENTENCE_END = re.compile(r"(?<![.\s])(?<!\be\.g)(?<!\bi\.e)(?<!\beq)(?<!\bcf)\.(?=\s|$)")

GLOSSARY = """\
## Name parts

Names in the old style (lower case, no underscores) are built of short parts; routines of our
own have plain words (`read_line`, `set_line_width`). A frame prints a name cut to 11
characters. The parts that recur:

- `s` first: a settings routine, which sets stored values, most of them with a menu in the
  even settings modes (`sprojll2`, `sfillcolor`), some by computation (`scm2de`,
  `smaininfo`). The modes are described in `src/frame/mode.hpp`.
- `in` and a kind first: a prompted question (`integ` integer, `real`, `logic` yes or no,
  `char` text); `def` a question with a default, `vin` one whose answer must lie in an
  interval (`inintegdef`, `inrealvindef`). `c` first with `vin`, `max` or `rev`: the check of
  a value held against its bounds (`cinvin`, `cinmax`, `crevin2`). `init` first: a start-up
  initialiser (`initsio`, `initfio`).
- The coordinate kinds: `ll` longitude and latitude, `cc` direction cosines (the components
  of a unit vector), `us` user units of the current subplot, `cm` centimetres on the page,
  `de` device pixels of the window. Two kinds joined by `2` convert from the first to the
  second (`ll2ccn`, `cc2lln`, `cm2de`), and a settings routine so named sets that transform
  (`sus2cm1`); a kind first says in which units a primitive draws (`usline`, `cmtext2`,
  `deline`). `a` and `b` after a kind: the geographic frame and the oblique frame of the
  projections (`cca2ccb`, `lla2llb`).
- `n` last (before any digit): the routine works on n points or values at once (`ll2ccn`,
  `projlln`, `spron`).
- `int` first: the window device under the plot library (`intplinit`, `intnewpage`).
- In the projections: `sph`, `sphe` the sphere, `e`, `el` the ellipsoid (`mersphe2`,
  `merel2`, `lcce2`), `ps` the polar aspect, `obl` the oblique one (`orthogpsll`,
  `orthobl2`).
- `d`, `dsp` first: draws (`dmapsh2`, `dspgcfadn`); `gc` great circles, `ax` axes, `fad` and
  `fap` from azimuth and dip or plunge. `fps` a focal-plane solution, `gcmt` the
  moment-tensor catalogue.
- A final digit (or two): the form of the routine, telling successive forms and variants
  apart (`sus2cm1` and `sus2cm3`, `errortail00` and `errortail01`).
- Global blocks end in `com`, `blk`, `block` or `buff` (`iocom`, `plt2blk`, `ptblock`,
  `cc2dbuff`).
"""


# ---- Reading C++ headers and sources ----

def code_part(line):
    """The code of the line (string and character literals emptied) and its `//` comment."""
    out, i, n = [], 0, len(line)
    while i < n:
        c = line[i]
        if line.startswith("//", i):
            return "".join(out), line[i + 2:].strip()
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out), ""


def without_angles(s):
    """s without its <...> groups (template arguments)."""
    s = s.replace("operator<", "operator_").replace("operator>", "operator_")
    out, depth = [], 0
    for ch in s:
        if ch == "<":
            depth += 1
        elif ch == ">" and depth:
            depth -= 1
        elif depth == 0:
            out.append(ch)
    return "".join(out)


def routine_name(statement):
    """The (possibly qualified) name a function declaration or definition declares, or None."""
    s = re.sub(r"\s+", " ", statement).strip()
    s = without_angles(re.sub(r"^template\s*", "", s)).strip()
    if re.match(r"(using|typedef|friend|namespace|struct|class|enum|union|static_assert)\b", s):
        return None
    p = s.find("(")
    if p < 0 or "=" in s[:p] or "operator" in s[:p]:
        return None
    m = re.search(r"((?:\w+::)*~?\w+)\s*$", s[:p])
    if not m or m.group(1).split("::")[-1] in NOT_NAMES or not s[:m.start()].strip():
        return None  # a call, a function pointer or a constructor
    return m.group(1)


class Decl:
    def __init__(self, path, line, scope, name, block, trailing, static, defines):
        self.path, self.line, self.name = path, line, "::".join(scope + [name])
        self.bare = name.split("::")[-1]
        self.member = "::" in name  # Type::routine, declared in its type (or a namespace)
        self.block, self.trailing = block, trailing
        self.static, self.defines = static, defines

    def own_comment(self):
        """The routine's own comment as one text, or "" when it has none."""
        return " ".join(l for l in self.block if l and not CAPTION.match(l)) or self.trailing


def declarations(path):
    """Every function declared or defined at namespace level in the file, in order, with the
    scope it stands in (an unnamed namespace is '(unnamed)'), and its comments."""
    lines = path.read_text(encoding="utf-8").splitlines()
    stack, found = [], []
    statement, start, paren = "", 0, 0
    comment, comment_end, attached = [], -2, []
    for idx, raw in enumerate(lines):
        stripped = raw.strip()
        if not statement.strip():
            if stripped.startswith("//"):
                if comment_end != idx - 1:
                    comment = []
                comment.append(stripped[2:].strip())
                comment_end = idx
                continue
            if stripped.startswith("#") or not stripped:
                comment, comment_end = [], -2
                continue
        code, _ = code_part(raw)
        for ch in code + " ":
            if not statement.strip() and not ch.isspace():
                start = idx
                attached = comment if comment_end == idx - 1 else []
            statement += ch
            if ch == "(":
                paren += 1
            elif ch == ")":
                paren -= 1
            if ch not in ";{}" or paren:
                continue
            body, statement = statement[:-1].strip(), ""
            if ch == "}":
                if stack:
                    stack.pop()
                continue
            name = None
            if body and all(kind == "namespace" for kind, _ in stack):
                name = routine_name(body)
            if name:
                trailing = code_part(lines[start])[1] or code_part(lines[idx])[1]
                scope = [n for _, n in stack if n]
                static = re.match(r"(inline\s+)?static\b", body) is not None
                found.append(Decl(path, start + 1, scope, name, attached, trailing, static,
                                  ch == "{"))
            if ch == "{":
                ns = re.match(r"(?:inline\s+)?namespace\b\s*([\w:]*)\s*$", body)
                if ns:
                    stack.append(("namespace", ns.group(1) or "(unnamed)"))
                else:
                    stack.append(("block", None))
        comment, comment_end = [], -2
    return found


def first_sentence(text):
    """The text up to its first full stop that ends a sentence (or the whole text)."""
    text = re.sub(r"\s+", " ", text).strip()
    m = SENTENCE_END.search(text)
    return text[:m.start()] if m else text


def short(name):
    return name[len("korbast::"):] if name.startswith("korbast::") else name


# ---- The index ----

def routines():
    """{qualified name: first declaration} of every header, and the declarations that lack a
    comment of their own."""
    rows, lacking = {}, []
    for hpp in sorted(SRC.rglob("*.hpp")):
        seen = set()
        for d in declarations(hpp):
            if d.member:
                continue  # defined here, declared elsewhere
            if d.name in seen:
                continue  # an overload: the first declaration speaks for the name
            seen.add(d.name)
            if not first_sentence(d.own_comment()):
                lacking.append(d)
            elif d.name not in rows:
                rows[d.name] = d
    return rows, lacking


def definitions():
    """{qualified name: the files that define it (with a body)}, over every file under src/."""
    where = {}
    for f in sorted(SRC.rglob("*.cpp")) + sorted(SRC.rglob("*.hpp")):
        for d in declarations(f):
            if d.defines and not d.static and f not in where.setdefault(d.name, []):
                where[d.name].append(f)
    return where


def render(rows):
    where = definitions()
    out = ["# Routine index", "",
           "Every routine declared at namespace level in a header under `src/` (member functions",
           "are told with their types), by its name within `korbast::` (the namespace tells",
           "namesakes apart): the header that declares it, the file that defines it, and its",
           "purpose, the first sentence of its own comment in the header. Rows are in",
           "the order of the last name part, so a name printed in a frame is found by its first",
           f"letters. Made by `{REGENERATE}`; the test `docs.routine_index` checks that",
           "each purpose is that routine's comment in its header and that every routine has one.",
           "", GLOSSARY,
           "## Routines", "",
           "| routine | declared in | defined in | purpose |", "|---|---|---|---|"]
    for name in sorted(rows, key=lambda n: (rows[n].bare.lower(), n.lower())):
        d = rows[name]
        files = ", ".join(str(f.relative_to(ROOT)) for f in where.get(name, [])) or NOWHERE
        purpose = first_sentence(d.own_comment()).replace("|", "\\|")
        out.append(f"| `{short(name)}` | {d.path.relative_to(ROOT)} | {files} | {purpose} |")
    return "\n".join(out) + "\n"


# ---- The check: each row against the header it names ----

ROW = re.compile(r"^\| `([\w:~]+)` \| (\S+) \| (.+?) \| (.*) \|$")


def comment_above(lines, i):
    """The own comment of a declaration starting at line i (0-based), read from the text."""
    j = i - 1
    while j >= 0 and re.match(r"\s*template\s*<", lines[j]):
        j -= 1
    block = []
    while j >= 0 and lines[j].strip().startswith("//"):
        block.insert(0, lines[j].strip()[2:].strip())
        j -= 1
    return " ".join(l for l in block if l and not CAPTION.match(l)) or code_part(lines[i])[1]


def is_sentence_start(purpose, comment):
    """Whether the purpose is the comment up to one of its full stops (or all of it)."""
    comment = re.sub(r"\s+", " ", comment).strip()
    return bool(purpose) and comment.startswith(purpose) and \
        comment[len(purpose):len(purpose) + 1] in ("", ".")


def defines(path, bare):
    """Whether a line of the file, outside an unnamed namespace, starts a definition of the
    name: the name and its '(' with a body opened after them, or no ';' closing the line."""
    if not path.is_file():
        return False
    depth, unnamed = 0, []  # brace depth, and the depths where unnamed namespaces opened
    for line in path.read_text(encoding="utf-8").splitlines():
        code = code_part(line)[0].rstrip()
        if re.match(r"\s*namespace\s*\{", code):
            unnamed.append(depth)
        depth += code.count("{") - code.count("}")
        while unnamed and depth <= unnamed[-1]:
            unnamed.pop()
        if unnamed:
            continue  # a namesake of the file's own, not the routine of the header
        m = re.search(r"(?<![\w.>])" + re.escape(bare) + r"\s*\(", code)
        if m and not re.match(r"\s*return\b", code) and \
                ("{" in code[m.end():] or not code.endswith(";")):
            return True
    return False


def check_row(name, header, files, purpose):
    """A complaint when the purpose is not the comment of a declaration of the routine in the
    header, or a file said to define it has no definition of that name; None when right."""
    path = ROOT / header
    if not path.is_file():
        return f"{header} does not exist"
    if not purpose:
        return "the row has no purpose"
    *scope, bare = name.split("::")
    text = path.read_text(encoding="utf-8")
    if not scope or scope[0] != path.relative_to(SRC).parts[0]:
        return f"the name does not start with the namespace of {header}'s folder"
    for part in scope[1:]:
        if not re.search(r"(?m)^\s*(?:inline\s+)?namespace\s+[\w:]*\b" + part + r"\b", text):
            return f"{header} has no namespace `{part}`"
    start = r"^\s*(?:template\s*<.*>\s*)?[\w:<>,\s*&\[\]]*[\s*&]"
    decl = re.compile(start + re.escape(bare) + r"\s*\(")
    if files == NOWHERE:
        return "no file under src/ defines it"
    for f in files.split(", "):
        if not defines(ROOT / f, bare):
            return f"{f} does not define `{bare}`"
    lines = text.splitlines()
    found = False
    for i, line in enumerate(lines):
        code = code_part(line)[0]
        if not decl.match(code) or re.match(r"\s*(return|else|if|for|while)\b", code):
            continue
        found = True
        if is_sentence_start(purpose.replace("\\|", "|"), comment_above(lines, i)):
            return None
    if not found:
        return f"{header} declares no `{bare}`"
    return f"the purpose is not the comment of `{bare}` in {header}"


def uncommented(lacking):
    return [f"{d.path.relative_to(ROOT)}:{d.line}: `{short(d.name)}` has no comment of its own: "
            "write a one-line comment directly above its declaration (a caption above a group "
            "is not one)" for d in lacking]


def check(rows, lacking, text):
    problems = uncommented(lacking)
    listed = {}
    current = OUT.read_text(encoding="utf-8") if OUT.exists() else ""
    for line in current.splitlines():
        m = ROW.match(line)
        if not m:
            continue
        name, header, files, purpose = m.groups()
        listed[name] = header
        why = check_row(name, header, files, purpose)
        if why:
            problems.append(f"docs/routines.md: row `{name}`: {why}")
    for name, d in rows.items():
        if short(name) not in listed:
            problems.append(f"docs/routines.md: `{short(name)}` ({d.path.relative_to(ROOT)}) "
                            "has no row")
    names = {short(n) for n in rows} | {short(d.name) for d in lacking}
    for name, header in listed.items():
        if name not in names:
            problems.append(f"docs/routines.md: `{name}` is not declared in {header} any more")
    if not problems and current != text:
        old, new = current.splitlines(), text.splitlines()
        n = next((i for i, (a, b) in enumerate(zip(old, new)) if a != b), min(len(old), len(new)))
        shown = new[n] if n < len(new) else "(its end)"
        problems.append(f"docs/routines.md is not current: line {n + 1} should read {shown}")
    return problems


def main():
    rows, lacking = routines()
    checking = "--check" in sys.argv[1:]
    text = render(rows)
    problems = check(rows, lacking, text) if checking else uncommented(lacking)
    if problems:
        for p in problems:
            print(p, file=sys.stderr)
        first = "Then regenerate" if lacking else "Regenerate"
        print(f"{first} the index from the project root: {REGENERATE}", file=sys.stderr)
        return 1
    if not checking:
        OUT.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
