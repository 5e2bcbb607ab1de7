#!/usr/bin/env python3
"""Prints every character the game and its page can draw, for cutting the face down to them.

Usage: face_characters.py ROOT > characters.txt

The characters: every one in the program's sources (its string literals among them), the
translations (po/*.po), the page's own texts, printable ASCII, and the reference characters
FreeType's autohinter measures a script by (its standard characters and blue-zone strings
for Latin and CJK, from src/autofit/afscript.h and afblue.dat). Without those the hinter
measures the cut face differently and the pixels change.
"""
import pathlib
import sys

AUTOHINTER_LATIN = "o O 0 THEZOCQS HEZLOCUS fijkdbh uvxzoesc nrxzoesc pqgjy"
AUTOHINTER_CJK = (
    "田囗"
    "他们你來們到和地对對就席我时時會来為能舰說说这這齊军同已愿既星是景民照现現理用置要軍那配里開雷露面顾"
    "个为人他以们你來個們到和大对對就我时時有来為要說说主些因它想意理生當看着置者自著裡过还进進過道還里面"
    "些们你來們到和地她将將就年得情最样樣理能說说这這通即吗吧听呢品响嗎师師收断斷明眼間间际陈限除陳随際隨"
    "事前學将將情想或政斯新样樣民沒没然特现現球第經谁起例別别制动動吗嗎增指明朝期构物确种調调費费那都間间"
)


def main() -> None:
    root = pathlib.Path(sys.argv[1])
    chars = set(chr(c) for c in range(0x20, 0x7F))
    chars.update(AUTOHINTER_LATIN.replace(" ", ""))
    chars.update(AUTOHINTER_CJK)
    files = [p for p in (root / "src").rglob("*") if p.suffix in (".cpp", ".hpp", ".html", ".js")]
    files += list((root / "po").glob("*.po")) if (root / "po").is_dir() else []
    for path in files:
        chars.update(c for c in path.read_text(encoding="utf-8") if c.isprintable())
    sys.stdout.write("".join(sorted(chars)) + "\n")


if __name__ == "__main__":
    main()
