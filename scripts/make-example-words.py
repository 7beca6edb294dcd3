#!/usr/bin/env python3
"""Writes a word bank text of made-up words: syllables joined, never taken from a word list.

usage: scripts/make-example-words.py [COUNT] > examples/bank-words.txt

The words follow the bank rules: ASCII letters only, at least eight of them, single words in
lower case and compound words in camel case, joined by "," in descending order with one final
line break. The same COUNT always gives the same text. COUNT is 2000 by default, the most a bank
may hold; a larger list can still be given to a run with --words FILE.
"""

import sys

ONSETS = ["b", "br", "d", "dr", "f", "fl", "g", "gr", "h", "k", "kl", "l", "m", "p", "pl",
          "r", "s", "st", "t", "tr", "v", "w", "z"]
VOWELS = ["a", "e", "i", "o", "u"]
CODAS = ["", "n", "r", "l", "s", "m"]

# A method whose name starts with one of these belongs to a memory management family under
# ARC, or reads as an accessor: no word may start like that.
RESERVED_STARTS = ("alloc", "new", "copy", "mutable", "init", "set", "get", "is")
# Keywords of C, C++ and Objective-C of eight letters or more that syllables could spell.
KEYWORDS = {"register", "volatile", "unsigned", "continue", "restrict", "typename", "template",
            "explicit", "operator", "noexcept", "decltype", "override", "protocol", "property",
            "optional", "required", "readonly", "readwrite", "nonatomic", "selector", "nullable",
            "interface", "dynamic", "synthesize"}


def syllables():
    return [onset + vowel + coda for onset in ONSETS for vowel in VOWELS for coda in CODAS]


def words(count):
    pool = syllables()
    combinations = len(pool) ** 3
    # Walking the combinations with a stride prime to their number visits each one once, spread
    # over the whole pool rather than in alphabetical runs.
    stride = 1_000_003
    assert combinations % stride != 0
    found = set()
    index = 0
    while len(found) < count and index < combinations:
        number = index * stride % combinations
        parts = [pool[number // len(pool) ** place % len(pool)] for place in range(3)]
        index += 1
        # Every fourth word is a compound: its second part starts with a capital letter.
        if index % 4 == 0:
            word = parts[0] + parts[1] + parts[2].capitalize()
        else:
            word = "".join(parts)
        lower = word.lower()
        if len(word) >= 8 and not lower.startswith(RESERVED_STARTS) and lower not in KEYWORDS:
            found.add(word)
    if len(found) < count:
        sys.exit(f"only {len(found)} words can be made")
    return sorted(found, reverse=True)


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
    if count < 1:
        sys.exit("COUNT must be a positive number")
    sys.stdout.write(",".join(words(count)) + "\n")


if __name__ == "__main__":
    main()
