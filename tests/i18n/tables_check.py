#!/usr/bin/env python3
# Checks the translator's string tables (src/i18n/tables/*.txt): each parses the way the
# translator parses it, and every translation carries the English table's ids, placeholders
# and accelerators. Usage: tables_check.py [TABLE_DIR]   or   tables_check.py --self-test
import os
import re
import sys
import tempfile
import unicodedata

# One file per table language, named after the language enumerator (spellings are fixed).
LANGUAGES = [
    "ChineseSimplified", "Czech", "Danish", "English", "French", "German", "Greek", "Hebrew",
    "Italian", "Japanese", "Korean", "Polish", "Portugese", "Russian", "Spanish", "Vietnamese",
]
# Tables allowed to leave ids out (the kit then keeps the English text).
PARTIAL_OK = {"Hebrew"}
MAX_TEXT = 255  # the translator keeps at most this many code points of a text


class ParseError(Exception):
    pass


def trim(s):
    # Blanks and control characters at both ends, as the translator's trim removes them.
    i, j = 0, len(s)
    while i < j and ord(s[i]) <= 32:
        i += 1
    while j > i and ord(s[j - 1]) <= 32:
        j -= 1
    return s[i:j]


_INT = re.compile(r"[+-]?(?:[0-9]+|\$[0-9A-Fa-f]+)\Z")


def to_int(field):
    """Integer conversion of an id field, or None: decimal or $hex, optional sign, 32-bit."""
    if not _INT.match(field):
        return None
    sign = -1 if field[0] == "-" else 1
    body = field.lstrip("+-")
    value = sign * (int(body[1:], 16) if body.startswith("$") else int(body))
    return value if -(2**31) <= value < 2**31 else None


def parse(text):
    """Parses a table the way the translator does. Returns (strings, memos, sections):
    strings are (id, stored text, line_no, text before the cut, all after the first ";");
    memos are (id, line_no, lines); sections are the lists of string ids between comment
    lines. Raises ParseError with the translator's message."""
    strings, memos, sections = [], [], [[]]
    memo = None  # (id, start line, scratch lines) while inside a memo
    for n, raw in enumerate(re.split(r"\r\n|\r|\n", text)):
        line = trim(raw)
        if not line:
            continue
        if line == "#":
            if memo is None:
                raise ParseError(
                    "Found the end of memo marker # at line %d. Was not in a memo however" % n)
            memos.append(memo)
            memo = None
            continue
        if line.startswith("*"):
            if memo is None and sections[-1]:
                sections.append([])
            continue
        if memo is not None:
            memo[2].append(line)
            continue
        first, sep, rest = line.partition(";")
        id_field = first[1:] if line.startswith("#") else first
        bad = "The %d'th string (%s) does not have the proper format of GLID;Text" % (n, line)
        if not id_field:
            raise ParseError(bad)
        glid = to_int(id_field)
        if glid is None:
            raise ParseError(bad + " or .GLID;")
        if line.startswith("#"):
            memo = (glid, n, [])
            continue
        value = rest.split(";", 1)[0]
        if not trim(value):
            raise ParseError(bad)
        strings.append((glid, value[:MAX_TEXT], n, value, rest))
        sections[-1].append(glid)
    # A memo still open at the end is dropped without an error, as the translator does.
    return strings, memos, [s for s in sections if s]


def check_entry(raw, rest, english):
    """Faults of one entry (raw: its text before the cut, rest: everything after the first
    ";") against its English text (None when checking the English table itself)."""
    faults = []
    if ";" in rest:
        faults.append("text contains ';' (the translator drops everything after it)")
    if len(raw) > MAX_TEXT:
        faults.append("text has %d code points, the translator keeps %d" % (len(raw), MAX_TEXT))
    if trim(raw) != raw:
        faults.append("text has leading or trailing blanks")
    if unicodedata.normalize("NFC", raw) != raw:
        faults.append("text is not in Unicode NFC form")
    if english is None:
        return faults
    for token in ("%d", "&"):
        if raw.count(token) != english.count(token):
            faults.append("%r occurs %d times, the English text has %d"
                          % (token, raw.count(token), english.count(token)))
    if "&" in raw and re.search(r"&(\s|$)", raw):
        faults.append("'&' marks no letter")
    if english.startswith("< ") and not raw.startswith("< "):
        faults.append("lost the leading '< ' of the English text")
    if english.endswith(" >") and not raw.endswith(" >"):
        faults.append("lost the trailing ' >' of the English text")
    return faults


def check_table(lang, data, reference):
    """All faults of one table file; reference is the English parse (None for English)."""
    if data.startswith(b"\xef\xbb\xbf"):
        return ["starts with a byte order mark (the first line's id would not parse)"]
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        return ["not valid UTF-8 at byte %d" % e.start]
    try:
        strings, memos, sections = parse(text)
    except ParseError as e:
        return ["parse error: %s" % e]
    faults = []
    ids = [s[0] for s in strings]
    seen = set()
    for glid in ids:
        if glid in seen:
            faults.append("id %d occurs more than once" % glid)
        seen.add(glid)
    eng = reference[0] if reference else {}
    for glid, value, n, raw, rest in strings:
        for f in check_entry(raw, rest, eng.get(glid) if reference else None):
            faults.append("line %d (id %d): %s" % (n + 1, glid, f))
    if reference is None:
        return faults
    eng_texts, eng_memos, eng_sections = reference
    extra = sorted(seen - set(eng_texts))
    missing = [] if lang in PARTIAL_OK else sorted(set(eng_texts) - seen)
    if extra:
        faults.append("ids not in the English table: %s" % extra)
    if missing:
        faults.append("ids missing: %s" % missing)
    if sorted(m[0] for m in memos) != sorted(eng_memos):
        faults.append("memo ids differ from the English table")
    if not missing and not extra and strings and sections != eng_sections:
        faults.append("grouping or order of ids differs from the English table")
    # Text matching finds the first entry with an equal text; two ids sharing one text would
    # send the second id's controls to the first id's translation.
    by_text = {}
    for glid, value, n, raw, rest in strings:
        other = by_text.setdefault(value.casefold(), glid)
        same_in_english = (eng_texts.get(other, "").casefold()
                           == eng_texts.get(glid, "").casefold())
        if other != glid and not same_in_english:
            faults.append("ids %d and %d have the same text %r" % (other, glid, value))
    return faults


def check_dir(folder):
    """Returns (faults, summary)."""
    faults = []
    present = {f[:-4] for f in os.listdir(folder) if f.endswith(".txt")}
    for name in sorted(present - set(LANGUAGES)):
        faults.append("%s.txt: not a table language" % name)
    for name in sorted(set(LANGUAGES) - present):
        faults.append("%s.txt: missing" % name)
    if "English" not in present:
        return faults, ""
    with open(os.path.join(folder, "English.txt"), "rb") as f:
        eng_data = f.read()
    eng_faults = check_table("English", eng_data, None)
    faults += ["English.txt: " + f for f in eng_faults]
    if eng_faults:
        return faults, ""
    strings, memos, sections = parse(eng_data.decode("utf-8"))
    reference = ({s[0]: s[3] for s in strings}, [m[0] for m in memos], sections)
    empty = []
    for lang in LANGUAGES:
        if lang == "English" or lang not in present:
            continue
        with open(os.path.join(folder, lang + ".txt"), "rb") as f:
            data = f.read()
        faults += ["%s.txt: %s" % (lang, x) for x in check_table(lang, data, reference)]
        if not data.strip():
            empty.append(lang)
    summary = "tables_check: %d tables, %d ids each, empty: %s" % (
        len(present & set(LANGUAGES)), len(reference[0]), ", ".join(empty) or "none")
    return faults, summary


def self_test(folder):
    """Breaks copies of the real tables in known ways and expects each break to be reported."""
    with open(os.path.join(folder, "English.txt"), encoding="utf-8") as f:
        english = f.read()
    with open(os.path.join(folder, "German.txt"), encoding="utf-8") as f:
        german = f.read()
    # (case, German table, English table, expected fragment of a fault, or None for no fault)
    cases = [
        ("unchanged", german, english, None),
        ("id dropped", german.replace("\n4;< Zurück\n", "\n"), english, "ids missing: [4]"),
        ("id added", german + "99;Extra\n", english, "not in the English table: [99]"),
        ("order swapped", german.replace("5;Weiter >\n6;Abbrechen", "6;Abbrechen\n5;Weiter >"),
         english, "grouping or order"),
        ("regrouped", german.replace("\n\n* Welcome page\n", "\n"), english, "grouping or order"),
        ("%d lost", german.replace("Datenträger %d ein", "Datenträger ein"), english, "'%d'"),
        ("& lost", german.replace("&Pfad:", "Pfad:"), english, "'&' occurs 0"),
        ("& at end", german.replace("&Pfad:", "Pfad:&"), english, "marks no letter"),
        ("second ;", german.replace("Fortfahren", "Fort;fahren"), english, "contains ';'"),
        ("too long", german.replace("Fortfahren", "x" * 256), english, "256 code points"),
        ("leading blank", german.replace("49;Fortfahren", "49; Fortfahren"), english, "blanks"),
        ("arrow lost", german.replace("Weiter >", "Weiter"), english, "' >'"),
        ("text shared", german.replace("Vollständig", "Standard"), english, "same text"),
        ("same text as English", german, english.replace("30;Destination directory",
                                                         "30;Destination Directory"), None),
        ("decomposed", german.replace("ü", "u\u0308"), english, "NFC"),
        ("stray #", german.replace("* Welcome page", "#"), english, "end of memo marker"),
        ("blank before ;", german.replace("49;", "49 ;"), english, "GLID;Text or .GLID;"),
        ("empty text", german.replace("49;Fortfahren", "49;  "), english, "format of GLID;Text"),
        ("open memo at end", german + "#80\nline\n", english, None),
        ("memo added", german + "#80\nline\n#\n", english, "memo ids differ"),
        ("hex id", german.replace("\n4;", "\n$4;"), english, None),
        ("BOM", "\ufeff" + german, english, "byte order mark"),
        ("bad UTF-8", b"4;\xff\n", english, "not valid UTF-8"),
        ("English broken", german, english.replace("\n4;", "\n4x;"), "English.txt: parse error"),
    ]
    failed = 0
    with tempfile.TemporaryDirectory() as tmp:
        for name, ger, eng, expect in cases:
            for lang in LANGUAGES:
                data = {"German": ger, "English": eng}.get(lang, "")
                with open(os.path.join(tmp, lang + ".txt"), "wb") as f:
                    f.write(data if isinstance(data, bytes) else data.encode("utf-8"))
            faults, _ = check_dir(tmp)
            # Every other table is empty here: only faults about German or English count.
            faults = [x for x in faults if "ids missing" not in x or x.startswith("German")]
            ok = not faults if expect is None else any(expect in x for x in faults)
            if not ok:
                failed += 1
                print("self-test %r: expected %r, got %s" % (name, expect, faults))
    print("tables_check self-test: %d cases, %d failed" % (len(cases), failed))
    return 1 if failed else 0


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(here, "..", "..", "src", "i18n", "tables")
    args = [a for a in argv[1:] if a != "--self-test"]
    if args:
        folder = args[0]
    if "--self-test" in argv:
        return self_test(folder)
    faults, summary = check_dir(folder)
    for f in faults:
        print(f)
    if faults:
        print("tables_check: %d faults" % len(faults))
        return 1
    print(summary)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
