#!/usr/bin/env python3
"""Builds the six object-name tables of data/gamedata/ from the game's own name lists.

Usage: tools/gen_gamedata.py SOURCE_DIR [OUT_DIR]
SOURCE_DIR holds en/, zh/ and common/ (tab-separated id and name files, UTF-8).
Writes UNIT, BUILDING, SUMMON, UPGRADE, ITEM, ABILITY and their _CN twins as KEY=VALUE lines with CR LF.
The tables are committed; the build needs no SOURCE_DIR.
"""
import os
import sys

RACE_BUILDING_PREFIXES = ("h", "o", "e", "u")  # Human, Orc, Night Elf, Undead buildings
# Buff names the 1.24.4 Chinese client lacks; its 1.31.1 data names them so.
CHINESE_GAPS = {"BIpb": "剧毒", "BIpd": "剧毒", "BIpi": "剧毒"}


def read_rows(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


def names(src, lang, file):
    return {row[0]: row[1] for row in read_rows(os.path.join(src, lang, file))}


def shared_name(levels):
    """The words every level name shares: the common leading and trailing words
    ("Iron Forged Swords", "Steel Forged Swords" give "Forged Swords")."""
    if len(set(levels)) == 1:
        return levels[0]
    words = [name.split() for name in levels]
    shortest = min(len(w) for w in words)
    head = 0
    while head < shortest and all(w[head] == words[0][head] for w in words):
        head += 1
    tail = 0
    while tail < shortest - head and all(w[-1 - tail] == words[0][-1 - tail] for w in words):
        tail += 1
    common = words[0][:head] + (words[0][len(words[0]) - tail:] if tail else [])
    return " ".join(common) if common else levels[0]


def joined_levels(levels):
    out = []
    for name in levels:
        if not out or out[-1] != name:
            out.append(name)
    return "/".join(out)


def upgrade_levels(src, lang):
    levels = {}
    for uid, level, name in read_rows(os.path.join(src, lang, "upgrade_levels.txt")):
        levels.setdefault(uid, []).append((int(level), name))
    return {uid: [n for _, n in sorted(v)] for uid, v in levels.items()}


def unlisted(src, lang):
    return {row[0]: (row[1], row[2]) for row in read_rows(os.path.join(src, lang, "unlisted.txt"))}


def unlisted_table(strings_file, uid):
    if "upgrade" in strings_file:
        return "UPGRADE"
    if "item" in strings_file and "ability" not in strings_file:
        return "ITEM"
    if "ability" in strings_file:
        return "ABILITY"
    return "SUMMON"


def build(src):
    tables = {}
    trained_by = {row[0]: row[1].split(",") for row in read_rows(os.path.join(src, "common", "trained_by.txt"))}
    for lang in ("en", "zh"):
        units = names(src, lang, "units.txt")
        heroes = names(src, lang, "heroes.txt")
        buildings = names(src, lang, "buildings.txt")
        trainable = {
            uid for uid in units
            if any(b in buildings and b.startswith(RACE_BUILDING_PREFIXES) for b in trained_by.get(uid, []))
        }
        levels = upgrade_levels(src, lang)
        upgrades = names(src, lang, "upgrades.txt")
        t = {
            "UPGRADE": {
                uid: (shared_name(levels[uid]) if lang == "en" else joined_levels(levels[uid])) if uid in levels else n
                for uid, n in upgrades.items()
            },
            "UNIT": {uid: n for uid, n in units.items() if uid in trainable},
            "BUILDING": dict(buildings),
            "SUMMON": {**heroes, **{uid: n for uid, n in units.items() if uid not in trainable}},
            "ITEM": {**names(src, lang, "items.txt"), **names(src, lang, "requirements.txt")},
            "ABILITY": {**names(src, lang, "abilities.txt"), **names(src, lang, "buffs.txt")},
        }
        tables[lang] = t
    # Names that only the strings files carry go where their strings file says; a Chinese gap takes
    # the known Chinese name, else the English one, so both languages hold every key.
    en_unlisted, zh_unlisted = unlisted(src, "en"), unlisted(src, "zh")
    for uid, (name, strings_file) in en_unlisted.items():
        table = unlisted_table(strings_file, uid)
        tables["en"][table][uid] = name
        zh = zh_unlisted.get(uid, (CHINESE_GAPS.get(uid, name), strings_file))[0]
        tables["zh"][table][uid] = zh
    return tables


def check(tables):
    seen = {}
    for table, entries in tables["en"].items():
        for uid in entries:
            key = uid.lower()
            if key in seen:
                raise SystemExit(f"{uid} stands in {seen[key]} and {table}")
            seen[key] = table
        missing = set(entries) - set(tables["zh"][table])
        if missing:
            raise SystemExit(f"{table}: no Chinese name for {sorted(missing)}")


def write(tables, out):
    os.makedirs(out, exist_ok=True)
    for lang, suffix in (("en", ""), ("zh", "_CN")):
        for table, entries in tables[lang].items():
            with open(os.path.join(out, table + suffix + ".txt"), "wb") as f:
                for uid in sorted(entries):
                    f.write(f"{uid}={entries[uid]}\r\n".encode("utf-8"))


def main():
    if len(sys.argv) not in (2, 3):
        raise SystemExit(__doc__)
    out = sys.argv[2] if len(sys.argv) == 3 else os.path.join(os.path.dirname(__file__), "..", "data", "gamedata")
    tables = build(sys.argv[1])
    check(tables)
    write(tables, out)
    for table in tables["en"]:
        print(f"{table}: {len(tables['en'][table])} lines")


if __name__ == "__main__":
    main()
