#!/usr/bin/env python3
"""Writes the default font map data/Sinhala.fmp: Unicode Sinhala drawn in
"Noto Sans Sinhala", typed with the romanised scheme below.

    python3 scripts/make-default-map.py [output-path]

The file is committed; run this again after changing the scheme.

Scheme, in short:
  * consonant key alone = the consonant with al-lakuna (k -> ක්),
    key + vowel = the consonant with that vowel sign (ka -> ක, kaa -> කා);
  * vowels: a aa ae aae i ii u uu Ru Ruu e ee ai o oo au (capital R for the
    vocalic r, so that "kru" stays free for the rakaransaya);
  * capitals mark the aspirated (mahaprana) twin: K ඛ, G ඝ, Ch ඡ, J ඣ,
    T ඨ, D ඪ, Th ථ, Dh ධ, P ඵ, B භ; and the retroflex twin of n, l, sh:
    N ණ, L ළ, Sh ෂ;
  * t ට and d ඩ are the retroflex stops, th ත and dh ද the dental ones;
  * z before a stop makes the half-nasal (sanyaka) letter: zg ඟ, zj ඦ,
    zd ඬ, zdh ඳ, zb ඹ;
  * consonant + y + vowel = yansaya (ක්‍ය), consonant + r + vowel =
    rakaransaya (ක්‍ර); R before a consonant = repaya (ර්‍);
  * x = anusvara ං, H = visarga ඃ, X = ඞ, gn = ඤ, kn = ඥ, w = ව as v;
  * a capital letter that types nothing of its own (A E I O U M Y V W F S
    Z) types what its small letter does, since phones and habit capitalise
    the first word (Mama -> මම, Oba -> ඔබ);
  * shortcuts: a capital A I U E O after a consonant key is its long vowel
    (kA = kaa, kyA = kyaa, krA = kraa, MA = maa); R before a vowel is the
    plain ර (Ri = ri, so a hal before ර needs no "&": dhumRiya), Ru and Ruu
    keeping ඍ ඎ; H before a vowel, y or r types as h (dhasHi දස්හි). So a
    hal followed by a capital vowel letter now needs "&" (ath&Akurin).
  The capitals' rows and the shortcuts' rows come after all others, so that
  the reverse conversion keeps giving the usual keys, and leave their base
  character empty, so that the suggestion strip (which skips such rows)
  offers each letter once, under its usual key.
"""

import os
import sys

ZWJ = "\u200d"
VIRAMA = "\u0dca"
PLACEHOLDER = "\u25cc"  # dotted circle: cannot be typed in the 8-bit pane
MAX_KEY = 6
MAX_COMBINATIONS = 39  # columns of the editor grid beside the base column
LAYOUT = "Sinhala"  # data/layouts/Sinhala.lot, written by make-default-layout.py

# Vowel suffixes: key, sign (empty for the inherent a).
VOWEL_SIGNS = [
    ("a", ""), ("aa", "\u0dcf"), ("ae", "\u0dd0"), ("aae", "\u0dd1"),
    ("i", "\u0dd2"), ("ii", "\u0dd3"), ("u", "\u0dd4"), ("uu", "\u0dd6"),
    ("Ru", "\u0dd8"), ("Ruu", "\u0df2"), ("e", "\u0dd9"), ("ee", "\u0dda"),
    ("ai", "\u0ddb"), ("o", "\u0ddc"), ("oo", "\u0ddd"), ("au", "\u0dde"),
]
SIGN = dict(VOWEL_SIGNS)
YANSAYA_VOWELS = ["a", "aa", "i", "ii", "u", "uu", "e", "ee", "o", "oo"]
RAKARANSAYA_VOWELS = ["a", "aa", "ae", "aae", "i", "ii", "u", "uu", "e", "ee", "o", "oo"]


def templates():
    """Row 0: the combination templates, written with the placeholder."""
    rows = [(PLACEHOLDER, PLACEHOLDER + VIRAMA)]
    rows += [(PLACEHOLDER + key, PLACEHOLDER + sign) for key, sign in VOWEL_SIGNS]
    rows += [(PLACEHOLDER + "y" + v, PLACEHOLDER + VIRAMA + ZWJ + "\u0dba" + SIGN[v])
             for v in YANSAYA_VOWELS]
    rows += [(PLACEHOLDER + "r" + v, PLACEHOLDER + VIRAMA + ZWJ + "\u0dbb" + SIGN[v])
             for v in RAKARANSAYA_VOWELS]
    return rows


# Consonants in the order of the Sinhala alphabet: key, letter.
CONSONANTS = [
    ("k", "\u0d9a"), ("K", "\u0d9b"), ("g", "\u0d9c"), ("G", "\u0d9d"),
    ("X", "\u0d9e"), ("zg", "\u0d9f"),
    ("ch", "\u0da0"), ("Ch", "\u0da1"), ("j", "\u0da2"), ("J", "\u0da3"),
    ("gn", "\u0da4"), ("kn", "\u0da5"), ("zj", "\u0da6"),
    ("t", "\u0da7"), ("T", "\u0da8"), ("d", "\u0da9"), ("D", "\u0daa"),
    ("N", "\u0dab"), ("zd", "\u0dac"),
    ("th", "\u0dad"), ("Th", "\u0dae"), ("dh", "\u0daf"), ("Dh", "\u0db0"),
    ("n", "\u0db1"), ("zdh", "\u0db3"),
    ("p", "\u0db4"), ("P", "\u0db5"), ("b", "\u0db6"), ("B", "\u0db7"),
    ("m", "\u0db8"), ("zb", "\u0db9"),
    ("y", "\u0dba"), ("r", "\u0dbb"), ("l", "\u0dbd"), ("v", "\u0dc0"),
    ("w", "\u0dc0"),
    ("sh", "\u0dc1"), ("Sh", "\u0dc2"), ("s", "\u0dc3"), ("h", "\u0dc4"),
    ("L", "\u0dc5"), ("f", "\u0dc6"),
]

# Items that are not generated from the templates: key and letter of the
# item, then its combinations. Each item's key starts with the same letter
# as its combinations' keys, so that the suggestion search finds them.
VOWELS = [
    ("a", "\u0d85", [("a", "\u0d85"), ("aa", "\u0d86"), ("ae", "\u0d87"),
                     ("aae", "\u0d88"), ("ai", "\u0d93"), ("au", "\u0d96")]),
    ("i", "\u0d89", [("i", "\u0d89"), ("ii", "\u0d8a"),
                     ("iLu", "\u0d8f"), ("iLuu", "\u0d90")]),
    ("u", "\u0d8b", [("u", "\u0d8b"), ("uu", "\u0d8c")]),
    ("e", "\u0d91", [("e", "\u0d91"), ("ee", "\u0d92")]),
    ("o", "\u0d94", [("o", "\u0d94"), ("oo", "\u0d95")]),
    ("Ru", "\u0d8d", [("Ru", "\u0d8d"), ("Ruu", "\u0d8e")]),
]
SIGNS = [
    ("x", "\u0d82", [("x", "\u0d82")]),   # anusvara
    ("H", "\u0d83", [("H", "\u0d83")]),   # visarga
]
REPAYA = ("R", "\u0dbb" + VIRAMA + ZWJ, [("R", "\u0dbb" + VIRAMA + ZWJ)])


def smart_map(base_key, base_font, rows):
    """The map editor's template generation for one base character: the
    first placeholder of each template is replaced by the base."""
    return [(key.replace(PLACEHOLDER, base_key, 1), font.replace(PLACEHOLDER, base_font, 1))
            for key, font in rows]


def build():
    rows = templates()
    items = [(PLACEHOLDER, PLACEHOLDER, rows)]
    items += VOWELS + SIGNS
    for key, letter in CONSONANTS:
        combos = smart_map(key, letter, rows)
        # A generated key the conversion could never reach is left as an
        # empty cell, keeping the columns in line with the templates.
        combos = [(k, f) if len(k) <= MAX_KEY else ("", "") for k, f in combos]
        items.append((key, letter, combos))
        if key == "r":
            items.append(REPAYA)
    items += capital_twins(items)
    return items + shortcuts(items)


def capital_twins(items):
    """Rows for the capital letters that no key of the map uses on its own:
    each row of a small letter again, the first letter capitalised. A key
    that already means something is left out (an empty cell), so nothing
    typed today changes."""
    keys = {k for _, _, combos in items[1:] for k, _ in combos if k}
    twins = []
    for letter in "ABCDEFGHIJKLMNOPQRSTUVWXYZ":
        if letter in keys:
            continue  # the letter has a sound of its own
        for key, _, combos in items[1:]:
            if not key.startswith(letter.lower()):
                continue
            twin = [(letter + k[1:], f) if k and letter + k[1:] not in keys else ("", "")
                    for k, f in combos]
            if any(k for k, _ in twin):
                twins.append((letter + key[1:], "", twin))
    return twins


# Shortcut keys: capital letter, the vowel key it stands for.
LONG_VOWELS = [("A", "aa"), ("I", "ii"), ("U", "uu"), ("E", "ee"), ("O", "oo")]
PLAIN_RA_VOWELS = ["a", "aa", "ae", "aae", "i", "ii", "e", "ee", "o", "oo", "ai", "au"]


def shortcuts(items):
    """Rows of keys that only add: each types what a longer key, or one
    starting with a small letter, already types. The reverse conversion takes
    the longest key of a font code and, among equally long ones, the first:
    placed last, these never replace what it writes. The rows are grouped by
    first letter, in the order of the consonants, and one consonant's keys
    never split over two rows."""
    font = {k: f for _, _, combos in items[1:] for k, f in combos if k}
    consonants = [key for key, base, _ in items[1:] if is_consonant(base)]
    # The capitals' rows of consonants (M for m, Zdh for zdh) count too.
    consonants += [key for key, base, _ in items[1:]
                   if not base and key[0].lower() + key[1:] in consonants]
    units = []
    for c in consonants:
        units.append([(c + mid + cap, font[c + mid + vowel])
                      for mid in ("", "y", "r") for cap, vowel in LONG_VOWELS
                      if c + mid + vowel in font])
    units.append([("R" + v, font["r" + v]) for v in PLAIN_RA_VOWELS])
    h_row = next(combos for key, _, combos in items if key == "h")
    units.append([("H" + k[1:], f) for k, f in h_row if k != "h"])

    rows = []
    for letter in dict.fromkeys(c[0].lower() for c in consonants):
        row = []
        for unit in (u for u in units if u[0][0][0].lower() == letter):
            if len(row) + len(unit) > MAX_COMBINATIONS:
                rows.append(row)
                row = []
            row += unit
        rows.append(row)
    return [(row[0][0], "", row) for row in rows]


def is_consonant(letter):
    return len(letter) == 1 and "\u0d9a" <= letter <= "\u0dc6"


def check(items):
    assert len(items) <= 110, "the editor grid holds 109 base characters"
    seen = {}
    for key, _, combos in items[1:]:
        assert len(combos) <= MAX_COMBINATIONS, key
        for k, _ in combos:
            if not k:
                continue
            assert k.isascii() and len(k) <= MAX_KEY, k
            assert k[0].lower() == key[0].lower(), (key, k)
            assert k not in seen, f"key {k} in both {seen[k]} and {key}"
            seen[k] = key


def lines(items):
    out = ["[font]", "Noto Sans Sinhala", "", "[map_layout]", LAYOUT, ""]
    for key, font, combos in items:
        out += [key, font, "<!--"]
        out += [k + "=" + f for k, f in combos]
        out.append("-->")
    return out


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "Sinhala.fmp")
    items = build()
    check(items)
    text = "".join(line + "\r\n" for line in lines(items))
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))
    combos = sum(1 for _, _, c in items[1:] for k, _ in c if k)
    print(f"{path}: {len(items) - 1} base items, {combos} combinations, "
          f"{len(items[0][2])} templates")


if __name__ == "__main__":
    main()
