#!/usr/bin/env python3
"""Checks what qpdf --check leaves alone in a PDF the program wrote: every page is a kid of
the node its /Parent names, every page-tree node counts the pages below it, and every
embedded TrueType font sums to the checksum its 'head' table promises (0xB1B0AFBA).
Prints the faults found and exits 1, or exits 0 when there are none."""
import base64
import json
import struct
import subprocess
import sys


def ref(key):
    return key[len("obj:"):]


def main(path):
    out = subprocess.run(["qpdf", "--json=2", "--json-key=qpdf", "--json-stream-data=inline",
                          "--decode-level=generalized", path],
                         capture_output=True, check=True).stdout
    objs = json.loads(out)["qpdf"][1]
    values = {ref(k): v.get("value") for k, v in objs.items() if k.startswith("obj:")}
    faults = []

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
