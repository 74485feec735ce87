#!/usr/bin/env python3
# Writes the main form's translator block (object MainTranslator: TTranslator) from the string
# tables in src/i18n/tables into a form description, or checks that the block there matches them.
# Usage: embed_tables.py [--tables DIR] [--marker TEXT] [--check] FORM.dfm
#        embed_tables.py [--tables DIR] --block-only [-o OUT]     (just the block)
#        embed_tables.py --self-test
import argparse
import os
import re
import sys
import tempfile

# Table languages in the order of their enumeration (vlUser has no table).
LANGUAGES = [
    "ChineseSimplified", "Czech", "Danish", "English", "French", "German", "Greek", "Hebrew",
    "Italian", "Japanese", "Korean", "Polish", "Portugese", "Russian", "Spanish", "Vietnamese",
]
TARGET = "vlChineseSimplified"
DEFAULT_TABLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src",
                              "i18n", "tables")
# The block goes before the installer component, as the main form stores it.
DEFAULT_MARKER = "object Install1:"

BLOCK_START = re.compile(r"^(\s*)object\s+MainTranslator\s*:\s*TTranslator\s*$", re.I)
OPENS = re.compile(r"^(object|inherited|inline)\b|^item$", re.I)
CLOSES = re.compile(r"^end>?$", re.I)


class EmbedError(Exception):
    pass


def split_lines(text):
    """Lines as the form runtime splits a text: CRLF, LF or CR end a line; no empty last line."""
    lines = re.split(r"\r\n|\r|\n", text)
    if lines and lines[-1] == "":
        lines.pop()
    return lines


def read_table(path):
    with open(path, "rb") as f:
        data = f.read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        raise EmbedError(f"{path}: not valid UTF-8 at byte {e.start}")
    return split_lines(text[1:] if text.startswith("\ufeff") else text)


def quote(s):
    """A string literal of the form syntax: text in quotes (quotes doubled, UTF-8 as it is),
    control characters as #n codes between the quoted pieces."""
    out, run = [], []
    for ch in s:
        if ord(ch) < 32 or ord(ch) == 127:
            if run:
                out.append("'" + "".join(run) + "'")
                run = []
            out.append(f"#{ord(ch)}")
        else:
            run.append("''" if ch == "'" else ch)
    if run or not out:
        out.append("'" + "".join(run) + "'")
    return "".join(out)


def make_block(tables_dir, indent="  "):
    block = [f"{indent}object MainTranslator: TTranslator",
             f"{indent}  TranslateIntoLanguage = {TARGET}"]
    for name in LANGUAGES:
        lines = read_table(os.path.join(tables_dir, name + ".txt"))
        if not lines:
            continue  # an empty table is the default
        block.append(f"{indent}  lg{name}.Strings.Strings = (")
        for i, line in enumerate(lines):
            block.append(f"{indent}    {quote(line)}" + (")" if i + 1 == len(lines) else ""))
    block.append(f"{indent}end")
    return block


def find_block(lines):
    """(first, last) line index of the MainTranslator block, or None."""
    for first, line in enumerate(lines):
        if not BLOCK_START.match(line):
            continue
        depth = 0
        for last in range(first, len(lines)):
            s = lines[last].strip()
            if s.startswith("'") or s.startswith("#"):
                continue  # a string list line
            if OPENS.match(s):
                depth += 1
            elif CLOSES.match(s):
                depth -= 1
                if depth == 0:
                    return first, last
        raise EmbedError(f"the MainTranslator block at line {first + 1} has no matching 'end'")
    return None


def embed(form_text, tables_dir, marker=DEFAULT_MARKER):
    """The form text with its MainTranslator block replaced, or inserted before the marker line
    (before the root's final 'end' when no line starts with the marker)."""
    newline = "\r\n" if "\r\n" in form_text else "\n"
    lines = split_lines(form_text)
    found = find_block(lines)
    if found:
        first, last = found
        indent = BLOCK_START.match(lines[first]).group(1)
        lines[first:last + 1] = make_block(tables_dir, indent)
    else:
        at = next((i for i, l in enumerate(lines) if l.strip().startswith(marker)), None)
        if at is not None:
            indent = lines[at][:len(lines[at]) - len(lines[at].lstrip())]
        else:
            at = max((i for i, l in enumerate(lines) if l.strip().lower() == "end"), default=None)
            if at is None:
                raise EmbedError("neither the marker nor the root's 'end' was found")
            indent = lines[at][:len(lines[at]) - len(lines[at].lstrip())] + "  "
        lines[at:at] = make_block(tables_dir, indent)
    return newline.join(lines) + newline


def write_atomically(path, text):
    folder = os.path.dirname(os.path.abspath(path))
    fd, tmp = tempfile.mkstemp(dir=folder, prefix=".embed_tables.")
    try:
        with os.fdopen(fd, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        # mkstemp makes the file private; keep the mode the file had (or the usual one).
        os.chmod(tmp, os.stat(path).st_mode & 0o7777 if os.path.exists(path) else 0o644)
        os.replace(tmp, path)
    except BaseException:
        os.unlink(tmp)
        raise


def self_test():
    cases = [("", "''"), ("it's", "'it''s'"), ("a\tb", "'a'#9'b'"), ("\t", "#9"),
             ("新細明", "'新細明'"), ("&Browse...", "'&Browse...'")]
    for s, want in cases:
        assert quote(s) == want, (s, quote(s), want)
    with tempfile.TemporaryDirectory() as d:
        for name in LANGUAGES:
            with open(os.path.join(d, name + ".txt"), "w", encoding="utf-8") as f:
                f.write("" if name == "Hebrew" else f"* {name}\r\n1;x'y\n")
        form = "object fmMain: TfmMain\n  object Install1: TInstall\n  end\nend\n"
        once = embed(form, d)
        assert once.index("object MainTranslator") < once.index("object Install1"), once
        assert "    lgEnglish.Strings.Strings = (\n      '* English'\n      '1;x''y')\n" in once
        assert "lgHebrew" not in once
        assert embed(once, d) == once, "replacing the block must be stable"
        bare = embed("object fmMain: TfmMain\r\nend\r\n", d)
        assert bare.endswith("  end\r\nend\r\n") and "\n" not in bare.replace("\r\n", "")
        stale = once.replace("'1;x''y'", "'1;old'")
        assert embed(stale, d) == once
        nested = ("object fmMain: TfmMain\n  object MainTranslator: TTranslator\n    object X: TY\n"
                  "    end\n  end\n  object Install1: TInstall\n  end\nend\n")
        assert embed(nested, d) == once
    print("embed_tables self-test passed")


def main():
    ap = argparse.ArgumentParser(description="Embeds the string tables into a form description.")
    ap.add_argument("form", nargs="?", help="the form description (.dfm) to change or check")
    ap.add_argument("--tables", default=DEFAULT_TABLES, help="folder of <Language>.txt tables")
    ap.add_argument("--marker", default=DEFAULT_MARKER,
                    help="insert a missing block before the first line starting with this")
    ap.add_argument("--check", action="store_true",
                    help="fail when the form's block differs from the tables; change nothing")
    ap.add_argument("--block-only", action="store_true", help="write only the block")
    ap.add_argument("-o", "--output", help="with --block-only: the file to write (else stdout)")
    ap.add_argument("--self-test", action="store_true")
    args = ap.parse_args()
    try:
        if args.self_test:
            self_test()
            return 0
        if args.block_only:
            text = "\n".join(make_block(args.tables, indent="")) + "\n"
            if args.output:
                write_atomically(args.output, text)
            else:
                sys.stdout.write(text)
            return 0
        if not args.form:
            ap.error("a form description is needed")
        with open(args.form, "r", encoding="utf-8", newline="") as f:
            current = f.read()
        if args.check:
            if find_block(split_lines(current)) is None:
                raise EmbedError(f"{args.form} has no MainTranslator block")
            if embed(current, args.tables, args.marker) != current:
                raise EmbedError(f"the MainTranslator block in {args.form} differs from the "
                                 f"tables; run {os.path.basename(__file__)} {args.form}")
            print(f"{args.form}: MainTranslator block matches the tables")
            return 0
        updated = embed(current, args.tables, args.marker)
        if updated != current:
            write_atomically(args.form, updated)
        print(f"{args.form}: MainTranslator block " + ("updated" if updated != current
                                                         else "already up to date"))
        return 0
    except (EmbedError, OSError) as e:
        print(f"embed_tables: {e}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
