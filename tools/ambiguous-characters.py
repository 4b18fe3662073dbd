#!/usr/bin/env python3
"""Lists, for a Traditional session, every place in the program's texts where
OpenCC can write a Simplified character (or phrase) in more than one
Traditional way, with what the program's converter chose there.

    tools/ambiguous-characters.py BUILD_PROGRAM_FOLDER OUTPUT_PREFIX

BUILD_PROGRAM_FOLDER is a built program folder (build/program), whose opencc/
holds the program's configurations and dictionary. Writes
OUTPUT_PREFIX-tw.txt and OUTPUT_PREFIX-hk.txt, one line per place:

    file:line <TAB> character <TAB> chosen <TAB> all forms <TAB> context as written <TAB> context as shown

followed by a summary per character (how often each form was chosen).
Texts: every reading and detailed explanation (data/god/xwk/*.txt) and the
instructions page (data/god/*.html, its text, not its markup) converted as
the program converts them; the program's own texts (Chinese string
literals in the C++ sources and the translation files' sources) converted as
the instructions are, for reference.

Needs OpenCC's tools (Debian: opencc), a maintainers' tool only.
"""

import collections
import difflib
import glob
import html
import os
import re
import subprocess
import sys
import tempfile

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SYSTEM = "/usr/share/opencc"
CJK = re.compile(r"[\u3400-\u9fff\uf900-\ufaff]")
REGIONS = {
    "tw": {"reading": "yanping-tw.json", "instructions": "yanping-tw-instructions.json"},
    "hk": {"reading": "yanping-hk.json", "instructions": "yanping-hk-instructions.json"},
}


def dump(name, folder):
    out = os.path.join(folder, name + ".txt")
    subprocess.run(["opencc_dict", "-i", os.path.join(SYSTEM, name + ".ocd2"), "-o", out,
                    "-f", "ocd2", "-t", "text"], check=True)
    table = {}
    with open(out, encoding="utf-8") as f:
        for line in f:
            key, _, values = line.rstrip("\n").partition("\t")
            table[key] = values.split(" ")
    return table


def page_text(markup):
    """The text parts of a page, one per line, as the program converts them."""
    markup = re.sub(r"(?is)<(style|script)\b.*?</\1\s*>", "\n", markup)
    markup = re.sub(r"(?s)<!--.*?-->", "\n", markup)
    return "\n".join(html.unescape(part) for part in re.split(r"<[^>]*>", markup))


def program_texts():
    texts = []
    for path in sorted(glob.glob(os.path.join(SOURCE, "*", "*.cpp"))):
        if "/tests/" in path or "/tools/" in path or "/benchmarks/" in path or "/fuzz/" in path:
            continue
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                for literal in re.findall(r'"((?:[^"\\]|\\.)*)"', line):
                    if CJK.search(literal):
                        texts.append((os.path.relpath(path, SOURCE), number, literal))
    for path in sorted(glob.glob(os.path.join(SOURCE, "translations", "*.ts"))):
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                m = re.search(r"<source>(.*)</source>", line)
                if m and CJK.search(m.group(1)):
                    texts.append((os.path.relpath(path, SOURCE), number, html.unescape(m.group(1))))
    return texts


def convert(config_folder, config, lines):
    # OpenCC looks for the configuration's files in the working folder first:
    # run it in the program's opencc/, where they are.
    result = subprocess.run(["opencc", "-c", os.path.join(config_folder, config)], cwd=config_folder,
                            input="\n".join(lines) + "\n", capture_output=True, text=True, check=True)
    converted = result.stdout.split("\n")
    assert len(converted) >= len(lines), "line count changed"
    return converted[:len(lines)]


def places(source, shown, ambiguous):
    """(index in source, index in shown) of each ambiguous character."""
    matcher = difflib.SequenceMatcher(None, source, shown, autojunk=False)
    for tag, a0, a1, b0, b1 in matcher.get_opcodes():
        if tag in ("equal", "replace") and a1 - a0 == b1 - b0:
            for k in range(a1 - a0):
                if source[a0 + k] in ambiguous:
                    yield a0 + k, b0 + k
        else:
            for k in range(a0, a1):
                if source[k] in ambiguous:
                    yield k, None


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    program, prefix = sys.argv[1], sys.argv[2]
    config_folder = os.path.join(os.path.abspath(program), "opencc")
    with tempfile.TemporaryDirectory() as scratch:
        characters = dump("STCharacters", scratch)
        phrases = dump("STPhrases", scratch)
    ambiguous = {k: v for k, v in characters.items() if len(v) > 1}
    ambiguous_phrases = {k: v for k, v in phrases.items() if len(v) > 1}

    # (file, kind, [(line number, text)])
    texts = []
    for path in sorted(glob.glob(os.path.join(SOURCE, "data", "god", "xwk", "*.txt"))):
        with open(path, encoding="utf-8") as f:
            texts.append((os.path.relpath(path, SOURCE), "reading", list(enumerate(f.read().split("\n"), 1))))
    for path in sorted(glob.glob(os.path.join(SOURCE, "data", "god", "*.html"))):
        with open(path, encoding="utf-8") as f:
            texts.append((os.path.relpath(path, SOURCE), "instructions",
                          list(enumerate(page_text(f.read()).split("\n"), 1))))
    for path, number, literal in program_texts():
        texts.append((path, "program", [(number, literal)]))

    for region, configs in REGIONS.items():
        rows, summary = [], collections.defaultdict(collections.Counter)
        for kind in ("reading", "instructions", "program"):
            batch = [(name, n, line) for name, k, lines in texts if k == kind for n, line in lines]
            config = configs["reading" if kind == "reading" else "instructions"]
            shown = convert(config_folder, config, [line for _, _, line in batch])
            for (name, n, line), out in zip(batch, shown):
                for i, j in places(line, out, ambiguous):
                    c = line[i]
                    chosen = out[j] if j is not None else "?"
                    summary[c][chosen] += 1
                    rows.append("%s:%d\t%s\t%s\t%s\t%s\t%s" % (
                        name, n, c, chosen, "/".join(ambiguous[c]), line[max(0, i - 6):i + 7].strip(),
                        out[max(0, (j or 0) - 6):(j or 0) + 7].strip() if j is not None else ""))
                for phrase, forms in ambiguous_phrases.items():
                    if phrase in line:
                        rows.append("%s:%d\t%s\t(phrase)\t%s\t%s\t" % (name, n, phrase, "/".join(forms), line.strip()[:40]))
        with open("%s-%s.txt" % (prefix, region), "w", encoding="utf-8") as f:
            f.write("# place\tcharacter\tchosen\tforms\tas written\tas shown (%s)\n" % region)
            f.write("\n".join(rows) + "\n")
            f.write("\n# summary: %d places, %d characters\n" % (len(rows), len(summary)))
            for c in sorted(summary, key=lambda c: -sum(summary[c].values())):
                f.write("# %s\t%s\n" % (c, " ".join("%s×%d" % kv for kv in summary[c].most_common())))
        print("%s-%s.txt: %d places, %d characters" % (prefix, region, len(rows), len(summary)))


if __name__ == "__main__":
    main()
