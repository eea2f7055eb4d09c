#!/usr/bin/env python3
"""Writes the default map's layout data/layouts/Sinhala.lot: the legends of
the font-map editor's header cells for data/Sinhala.fmp, drawn in
"Noto Sans Sinhala".

    python3 scripts/make-default-layout.py [output-path]

The keys of the entries are the map's own (a layout sets the header cells'
English codes too), so run this again whenever make-default-map.py changes.
Legends: the base column shows each base character; the template row shows
the vowel a column adds as its independent letter, and the other templates
as they are drawn; a lone sign stands on the dotted circle.
"""

import importlib.util
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
module_file = importlib.util.spec_from_file_location(
    "default_map", os.path.join(ROOT, "scripts", "make-default-map.py"))
default_map = importlib.util.module_from_spec(module_file)
module_file.loader.exec_module(default_map)

FONT = "Noto Sans Sinhala"
ROWS, COLUMNS = 110, 40
INDEPENDENT = {
    "a": "\u0d85", "aa": "\u0d86", "ae": "\u0d87", "aae": "\u0d88",
    "i": "\u0d89", "ii": "\u0d8a", "u": "\u0d8b", "uu": "\u0d8c",
    "Ru": "\u0d8d", "Ruu": "\u0d8e", "e": "\u0d91", "ee": "\u0d92",
    "ai": "\u0d93", "o": "\u0d94", "oo": "\u0d95", "au": "\u0d96",
}


def shown(font):
    """A code as a legend: without its joiner, a lone sign on the circle."""
    text = font.replace(default_map.ZWJ, "")
    if text and 0x0dca <= ord(text[0]) <= 0x0ddf or text[:1] in ("\u0d82", "\u0d83"):
        text = default_map.PLACEHOLDER + text
    return text


def template_legend(key, font):
    vowel = key[len(default_map.PLACEHOLDER):]
    return INDEPENDENT.get(vowel, font)


def lines(items):
    placeholder_key, placeholder_font, templates = items[0]
    vertical = [(placeholder_key, placeholder_font)]
    # A capital letter's row has no base character of its own: its legend
    # is the letter it types, that of its small letter's row. A shortcut
    # row's (kA kI ...) is what its first key types.
    letter = {key: font for key, font, _ in items[1:]}
    vertical += [(key, shown(font or letter.get(key[0].lower() + key[1:]) or combos[0][1]))
                 for key, font, combos in items[1:]]
    vertical += [("", "")] * (ROWS - len(vertical))
    horizontal = [(placeholder_key, placeholder_font)]
    horizontal += [(key, template_legend(key, font)) for key, font in templates]
    horizontal += [("", "")] * (COLUMNS - len(horizontal))
    out = ["[layout-font]", FONT, "", "VLayout{"]
    out += [k + "=" + legend for k, legend in vertical]
    out += ["}", "HLayout{"]
    out += [k + "=" + legend for k, legend in horizontal]
    out.append("}")
    return out


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "data", "layouts", "Sinhala.lot")
    items = default_map.build()
    assert len(items) <= ROWS and len(items[0][2]) < COLUMNS
    text = "".join(line + "\r\n" for line in lines(items))
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))
    print(f"{path}: {len(items)} rows, {len(items[0][2]) + 1} columns labelled")


if __name__ == "__main__":
    main()
