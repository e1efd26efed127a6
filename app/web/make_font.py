#!/usr/bin/python3
"""make_font.py: the web page's face, cut from the installed IPAGothic.

The page draws the game's own strings in the face the Linux window uses. The
whole face is 6 MB; the game can show some 120 characters, so the build cuts
the face down to those (the characters of the game's string literals and of
the layout's captions, and those a number is written with) as WOFF2. The IPA
Font License lets a derived face be shared on its terms: under that licence,
with its text beside it, with a way back to the original, and under a name
that is not the original's. So the cut face is renamed, and no name in it
says the original's.

It also writes a small module for the page: the face's family and file, the
characters it holds, and its ascent and descent as fractions of its em, read
from its tables as Qt reads them on Linux (a browser rounds them to whole
pixels, which would move every label's baseline).

    make_font.py SITE FONT LICENCE SOURCE... [--original]

With --original the face is copied into SITE as it is, under its own name,
for whoever wants the original back (see the README).
"""

import re
import shutil
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Yopo Gothic"
POSTSCRIPT = "YopoGothic"
FILE = "yopo-gothic.woff2"
LICENCE = "yopo-gothic-LICENSE.txt"

# How numbers are written: the scores as the game prints them ("%G" too).
NUMBER_CHARACTERS = "0123456789+-.E"

# OS/2 fsSelection: the face asks for its typographic metrics.
USE_TYPO_METRICS = 1 << 7

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
# The layout's captions: the first string of a button's or label's row,
# and the window's own.
CAPTION = re.compile(r'(?:ButtonProperties|LabelProperties)\{\s*"((?:[^"\\\n]|\\.)*)"'
                     r'|\.caption\s*=\s*"((?:[^"\\\n]|\\.)*)"')


def unescape(literal):
    """A C++ string literal's text: its \\uXXXX and simple escapes resolved."""
    out = []
    i = 0
    while i < len(literal):
        c = literal[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        e = literal[i + 1]
        if e == "u":
            out.append(chr(int(literal[i + 2:i + 6], 16)))
            i += 6
        elif e == "U":
            out.append(chr(int(literal[i + 2:i + 10], 16)))
            i += 10
        else:
            out.append({"r": "\r", "n": "\n", "t": "\t"}.get(e, e))
            i += 2
    return "".join(out)


def characters(sources):
    """Every character the game can show."""
    shown = set(NUMBER_CHARACTERS)
    for source in sources:
        text = Path(source).read_text(encoding="utf-8")
        code = "\n".join(line for line in text.splitlines()
                         if not line.lstrip().startswith("#"))
        # The game's words are Japanese; its ASCII strings are names and
        # expressions that a run-time error reports in the page, not on the canvas.
        for literal in LITERAL.findall(code):
            shown.update(c for c in unescape(literal) if ord(c) > 0x7F)
        for match in CAPTION.findall(code):
            shown.update(unescape(match[0] or match[1]))
    return "".join(sorted(c for c in shown if c not in "\r\n\t"))


def extent(face):
    """The face's ascent and descent as fractions of its em, as Qt reads them:
    the typographic ones if the face asks for them, else Windows' own, else
    the horizontal header's."""
    em = face["head"].unitsPerEm
    os2 = face["OS/2"] if "OS/2" in face else None
    if os2 is not None and os2.fsSelection & USE_TYPO_METRICS:
        return os2.sTypoAscender / em, -os2.sTypoDescender / em
    if os2 is not None and (os2.usWinAscent or os2.usWinDescent):
        return os2.usWinAscent / em, os2.usWinDescent / em
    hhea = face["hhea"]
    return hhea.ascent / em, -hhea.descent / em


def rename(face, version):
    """Names the cut face Yopo Gothic, in every language it names itself in."""
    names = face["name"]
    new = {
        1: FAMILY,
        2: "Regular",
        3: f"{POSTSCRIPT}-{version}",
        4: FAMILY,
        6: POSTSCRIPT,
    }
    # The copyright notice and the licence's own name and address stay.
    keep = {0, 5, 13, 14}
    for record in list(names.names):
        if record.nameID in new:
            record.string = new[record.nameID]
        elif record.nameID not in keep:
            names.names.remove(record)
    for record in names.names:
        if record.nameID not in keep and "IPA" in record.toUnicode().upper():
            sys.exit(f"make_font.py: name {record.nameID} still says {record.toUnicode()}")


def module(site, family, file, ascent, descent, text):
    (Path(site) / "yopo-font.js").write_text(
        "// yopo-font.js: the game's face, made by the build (app/web/make_font.py).\n"
        "export const font = {\n"
        f"    family: {js(family)},\n"
        f"    file: {js(file)},\n"
        "    // As fractions of the em, from the face's tables.\n"
        f"    ascent: {ascent!r},\n"
        f"    descent: {descent!r},\n"
        "    // Every character the game can show.\n"
        f"    text: {js(text)},\n"
        "};\n",
        encoding="utf-8")


def js(text):
    return '"' + "".join(c if c.isprintable() and c not in '"\\' else f"\\u{ord(c):04x}"
                         for c in text) + '"'


def licence_text(debian_copyright):
    """The IPA Font License, both its Japanese and English texts, from
    Debian's copyright file."""
    lines = Path(debian_copyright).read_text(encoding="utf-8").splitlines()
    # The stanza that holds the text, not a Files stanza that names it.
    start = next(i for i, line in enumerate(lines[:-1])
                 if line == "License: IPA-1" and lines[i + 1].startswith(" ")) + 1
    body = []
    for line in lines[start:]:
        if line and not line.startswith(" "):
            break
        body.append("" if line.strip() == "." else line[1:])
    return "\n".join(body).rstrip() + "\n"


def main():
    arguments = [a for a in sys.argv[1:] if a != "--original"]
    original = "--original" in sys.argv
    site, font, debian_copyright, *sources = arguments
    face = TTFont(font)
    ascent, descent = extent(face)
    text = characters(sources)
    missing = [c for c in text if ord(c) not in face.getBestCmap()]
    if missing:
        sys.exit(f"make_font.py: {font} has no {''.join(missing)}")
    version = face["name"].getDebugName(5).split()[-1]
    family_of_original = face["name"].getDebugName(1)

    if original:
        shutil.copyfile(font, Path(site) / Path(font).name)
        module(site, family_of_original, Path(font).name, ascent, descent, text)
        notice = (f"{Path(font).name} is {family_of_original} {version} as it was released,\n"
                  "unchanged, under the IPA Font License Agreement v1.0 below.\n")
    else:
        options = subset.Options()
        options.flavor = "woff2"
        options.layout_features = []
        options.hinting = False
        options.name_IDs = ["*"]
        options.name_languages = ["*"]
        options.glyph_names = False
        options.notdef_outline = True
        options.drop_tables += ["vhea", "vmtx", "gasp", "GDEF", "GSUB"]
        subsetter = subset.Subsetter(options)
        subsetter.populate(text=text)
        subsetter.subset(face)
        rename(face, version)
        face.flavor = "woff2"
        face.save(Path(site) / FILE)
        module(site, FAMILY, FILE, ascent, descent, text)
        notice = (
            f"{FILE} ({FAMILY}) is a Derived Program of {family_of_original} {version}: the\n"
            "characters ヨポ can show, cut from the font file that Debian's fonts-ipafont-gothic\n"
            "installs, by app/web/make_font.py in ヨポ's sources, and renamed as the licence\n"
            "asks. It is licensed under the IPA Font License Agreement v1.0 below. No other\n"
            "file went into making it.\n"
            "\n"
            "To put the original font back, build the site from ヨポ's sources with the\n"
            "original font file, which the page then loads as it is:\n"
            "    cmake --preset web -DYOPO_WEB_ORIGINAL_FONT=ON && cmake --build --preset web\n"
            "or copy IPAGothic's ipag.ttf (https://moji.or.jp/ipafont/) beside index.html\n"
            "and name it in yopo-font.js as the file, with IPAGothic as the family.\n")
    licence = "IPA_Font_License_Agreement_v1.0.txt" if original else LICENCE
    (Path(site) / licence).write_text(notice + "\n" + licence_text(debian_copyright),
                                      encoding="utf-8")


if __name__ == "__main__":
    main()
