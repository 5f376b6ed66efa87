#!/usr/bin/env python3
"""Checks what qpdf --check leaves alone in a PDF the program wrote: every cross-reference
section (that of each appended update too) holds entries of exactly 20 bytes, each in-use
entry pointing at its object's "num gen obj"; every page is a kid of the node its /Parent
names, every page-tree node counts the pages below it, and every embedded TrueType font sums
to the checksum its 'head' table promises (0xB1B0AFBA).
Prints the faults found and exits 1, or exits 0 when there are none."""
import base64
import json
import re
import struct
import subprocess
import sys

EOL = rb"(?:\r\n|\r|\n)"
XREF = re.compile(rb"xref" + EOL)
SUBSECTION = re.compile(rb"(\d+) (\d+)" + EOL)
# An entry: a 10-digit offset, a 5-digit generation, n or f, and a 2-byte end of line.
ENTRY = re.compile(rb"(\d{10}) (\d{5}) ([nf])(?: \r| \n|\r\n)")
STARTXREF = re.compile(rb"startxref" + EOL + rb"(\d+)" + EOL)


def section_faults(pdf, at):
    """The faults of the cross-reference section at byte `at`, read byte by byte, and the
    section its trailer's /Prev names (or None)."""
    head = XREF.match(pdf, at)
    if not head:
        return [f"byte {at}: no cross-reference section there"], None
    pos = head.end()
    while not pdf.startswith(b"trailer", pos):
        sub = SUBSECTION.match(pdf, pos)
        if not sub:
            return [f"xref {at}: neither a subsection header nor the trailer at byte {pos}"], None
        pos = sub.end()
        for num in range(int(sub.group(1)), int(sub.group(1)) + int(sub.group(2))):
            entry = ENTRY.fullmatch(pdf, pos, pos + 20)
            if not entry:
                return [f"xref {at}: the entry of object {num} at byte {pos} is not 20 bytes "
                        f"'nnnnnnnnnn ggggg n' and an end of line: {pdf[pos:pos + 21]!r}"], None
            pos += 20
            offset, gen = int(entry.group(1)), int(entry.group(2))
            header = b"%d %d obj" % (num, gen)
            if entry.group(3) == b"n" and not (pdf.startswith(header, offset) and
                                               pdf[offset - 1:offset] in (b"\r", b"\n")):
                return [f"xref {at}: object {num} {gen} is not at byte {offset}: "
                        f"{pdf[offset:offset + 20]!r}"], None
    end = pdf.find(b"startxref", pos)
    own = STARTXREF.match(pdf, end) if end >= 0 else None
    if not own or int(own.group(1)) != at:
        return [f"xref {at}: the startxref after its trailer does not name it"], None
    prev = re.search(rb"/Prev (\d+)", pdf[pos:end])
    return [], int(prev.group(1)) if prev else None


def xref_faults(pdf):
    """The faults of every cross-reference section a startxref or a trailer's /Prev names:
    those of every update the file was appended with."""
    todo = [int(m.group(1)) for m in STARTXREF.finditer(pdf)]
    faults = [] if todo else ["no startxref"]
    seen = set()
    while todo:
        at = todo.pop()
        if at in seen:
            continue
        seen.add(at)
        found, prev = section_faults(pdf, at)
        faults += found
        if prev is not None:
            todo.append(prev)
    return faults


def ref(key):
    return key[len("obj:"):]


def main(path):
    with open(path, "rb") as f:
        faults = xref_faults(f.read())
    if faults:  # what the objects hold is not looked at through a broken cross-reference
        print("\n".join(faults))
        return 1
    out = subprocess.run(["qpdf", "--json=2", "--json-key=qpdf", "--json-stream-data=inline",
                          "--decode-level=generalized", path],
                         capture_output=True, check=True).stdout
    objs = json.loads(out)["qpdf"][1]
    values = {ref(k): v.get("value") for k, v in objs.items() if k.startswith("obj:")}

    def leaves(node, depth=0):
        d = values.get(node)
        if not isinstance(d, dict) or depth > 64:
            faults.append(f"{node}: not a page-tree node")
            return 0
        if d.get("/Type") == "/Page":
            return 1
        total = 0
        for kid in d.get("/Kids", []):
            kd = values.get(kid)
            if not isinstance(kd, dict) or kd.get("/Parent") != node:
                faults.append(f"{kid}: its /Parent is not {node}, whose kid it is")
            total += leaves(kid, depth + 1)
        if d.get("/Count") != total:
            faults.append(f"{node}: /Count {d.get('/Count')} for {total} pages below it")
        return total

    for key, d in values.items():
        if isinstance(d, dict) and d.get("/Type") == "/Page":
            parent = values.get(d.get("/Parent"))
            if not isinstance(parent, dict) or key not in parent.get("/Kids", []):
                faults.append(f"{key}: not among the kids of its /Parent {d.get('/Parent')}")
        if isinstance(d, dict) and d.get("/Type") == "/Catalog":
            leaves(d["/Pages"])
        if isinstance(d, dict) and "/FontFile2" in d:
            stream = objs["obj:" + d["/FontFile2"]]["stream"]
            data = base64.b64decode(stream["data"])
            data += b"\0" * (-len(data) % 4)
            total = sum(struct.unpack(f">{len(data) // 4}I", data)) & 0xFFFFFFFF
            if total != 0xB1B0AFBA:
                faults.append(f"{d['/FontFile2']}: font file sums to {total:#x}, not 0xb1b0afba")
    for f in faults:
        print(f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
