#!/usr/bin/env python3
"""Prints, for each shortcut of the corpus, the path
lnkinfo (Debian's liblnk-utils) gives: LinkInfo's local or network path, else
the item list's names joined after the drive ("...\\a\\b" where the list starts
at a folder lnkinfo only names). "-" where it gives none. The third column of
tests/host/LinkCorpus.tsv holds these; compare after remaking the corpus."""
import pathlib
import re
import subprocess
import sys

corpus = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else 'tests/fuzz/corpus/ShellLinkFuzz')
for link in sorted(corpus.glob('*.lnk')):
    text = subprocess.run(['lnkinfo', str(link)], capture_output=True, text=True).stdout
    found = re.search(r'^\t(?:Local|Network) path\t+: (.*)$', text, re.M)
    if found:
        print(f'{link.name}\t{found.group(1)}')
        continue
    items = re.split(r'^\tShell item: \d+$', text, flags=re.M)[1:]
    names, root = [], None
    for item in items:
        name = re.search(r'^\t\tLong name\t+: (.*)$', item, re.M) or re.search(r'^\t\tName\t+: (.*)$', item, re.M)
        volume = re.search(r'^\t\tVolume name\t+: (.*)$', item, re.M)
        if volume:
            root = volume.group(1)
        elif name:
            names.append(name.group(1))
        elif names or root:
            names = None   # an item lnkinfo names no file by, after the first
            break
    if names is None or not items or (root is None and not names):
        print(f'{link.name}\t-')
    else:
        print(f'{link.name}\t' + (root if root else '...\\') + '\\'.join(names))
