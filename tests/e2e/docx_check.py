#!/usr/bin/python3
"""Checks a .docx written by tarvex against the file it started from.

usage: docx_check.py ORIGINAL RESULT

The result must be a sound package (every entry has a content type, every internal
relationship target exists, every XML part is well-formed) and keep the original's text: the
paragraph texts of every story of the original appear in the result in the same order (new
paragraphs may lie in between). Prints what is wrong and exits 1; exits 0 when all is well.
"""
import posixpath
import sys
import urllib.parse
import zipfile
import xml.etree.ElementTree as ET

W = "{http://schemas.openxmlformats.org/wordprocessingml/2006/main}"
CT = "{http://schemas.openxmlformats.org/package/2006/content-types}"
REL = "{http://schemas.openxmlformats.org/package/2006/relationships}"


def problems_of_package(z):
    names = set(z.namelist())
    lower = {n.lower() for n in names}
    types = ET.fromstring(z.read("[Content_Types].xml"))
    defaults = {d.get("Extension").lower() for d in types.iter(CT + "Default")}
    overrides = {o.get("PartName").lstrip("/").lower() for o in types.iter(CT + "Override")}
    for name in names:
        if name.endswith("/"):
            continue
        if name.lower() not in overrides and name.rsplit(".", 1)[-1].lower() not in defaults:
            yield f"{name}: kein Inhaltstyp"
        if name.endswith(".xml") or name.endswith(".rels"):
            try:
                ET.fromstring(z.read(name))
            except ET.ParseError as e:
                yield f"{name}: kein wohlgeformtes XML ({e})"
    for name in names:
        if not name.endswith(".rels"):
            continue
        folder = posixpath.dirname(posixpath.dirname(name))
        for r in ET.fromstring(z.read(name)).iter(REL + "Relationship"):
            if r.get("TargetMode") == "External":
                continue
            target = urllib.parse.unquote(r.get("Target"))
            path = target.lstrip("/") if target.startswith("/") else posixpath.normpath(
                posixpath.join(folder, target))
            if path.lower() not in lower:
                yield f"{name}: Ziel {target} fehlt"


def own_text(paragraph):
    """The paragraph's text without that of text boxes anchored in it (their own paragraphs)."""
    out, stack = [], list(reversed(list(paragraph)))
    while stack:
        node = stack.pop()
        if node.tag in (W + "txbxContent", W + "p"):
            continue
        if node.tag == W + "t":
            out.append(node.text or "")
        stack.extend(reversed(list(node)))
    return "".join(out)


def paragraphs(z):
    """The paragraph texts of every XML part, by part name."""
    texts = {}
    for name in z.namelist():
        if not name.endswith(".xml") or name == "[Content_Types].xml":
            continue
        root = ET.fromstring(z.read(name))
        texts[name] = [own_text(p) for p in root.iter(W + "p")]
    return texts


def main(original, result):
    with zipfile.ZipFile(original) as a, zipfile.ZipFile(result) as b:
        found = list(problems_of_package(b))
        before, after = paragraphs(a), paragraphs(b)
    for part, texts in before.items():
        rest = iter(after.get(part, []))
        for text in texts:
            if text and not any(text == other for other in rest):
                found.append(f"{part}: Absatz fehlt oder ist verändert: {text!r}")
                break
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
