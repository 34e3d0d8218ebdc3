#!/usr/bin/env bash
# Fails when README.md or a page of docs/ names what is not there: a relative link
# (and the heading its #anchor names), or a path of the repository such as
# scripts/test.sh or tests/host/, in the text or in a command. Paths under build/
# are made by the build and not checked; no network is used.
set -euo pipefail
cd "$(dirname "$0")/.."
python3 - README.md docs/*.md <<'PY'
import glob, os, re, sys

def slug(heading):   # the anchor GitHub gives a heading
    text = re.sub(r"[`*_]|\[([^]]*)\]\([^)]*\)", r"\1", heading.strip().lower())
    return re.sub(r"[^\w\- ]", "", text).replace(" ", "-")

def anchors(path):
    with open(path, encoding="utf-8") as f:
        return {slug(line.lstrip("#")) for line in f if re.match(r"#{1,6} ", line)}

top = "|".join(re.escape(d) for d in sorted(os.listdir(".")) if os.path.isdir(d) and d not in (".git", "build"))
path_pattern = re.compile(r"(?<![\w./\\-])((?:%s)/[^\s`'\"()<>*,;…\[\]#]*)" % top)
broken = []
for page in sys.argv[1:]:
    text = open(page, encoding="utf-8").read()
    for target in re.findall(r"\]\(([^)\s]+)\)", text):
        if re.match(r"[a-z]+:", target):
            continue   # a web address
        file, _, anchor = target.partition("#")
        resolved = os.path.normpath(os.path.join(os.path.dirname(page), file)) if file else page
        if not os.path.exists(resolved):
            broken.append(f"{page}: link to {target}: no {resolved}")
        elif anchor and resolved.endswith(".md") and anchor not in anchors(resolved):
            broken.append(f"{page}: link to {target}: no heading #{anchor} in {resolved}")
    for path in path_pattern.findall(re.sub(r"\]\([^)]*\)", "]", text)):
        path = path.rstrip(".:")
        if not os.path.exists(path) and not glob.glob(glob.escape(path) + ".*"):   # ui/LongWork: its .h and .cpp
            broken.append(f"{page}: names {path}, which is not there")
for line in broken:
    print("check-docs:", line, file=sys.stderr)
sys.exit(1 if broken else 0)
PY
echo "check-docs: every link, path and script the docs name is there"
