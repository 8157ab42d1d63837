#!/usr/bin/env python3
# Adds or replaces one window's section in a shipped language file.
# usage: add_section.py FILE SECTION < lines "key<TAB>property<TAB>text"
import sys, re
from xml.sax.saxutils import quoteattr
path, section = sys.argv[1], sys.argv[2]
entries = {}
order = []
for line in sys.stdin.read().splitlines():
    if not line.strip():
        continue
    key, prop, text = line.split("\t")
    if key not in entries:
        entries[key] = []
        order.append(key)
    entries[key].append((prop, text))
body = "    <%s>\n" % section
for key in order:
    attrs = " ".join("%s=%s" % (p, quoteattr(t)) for p, t in entries[key])
    body += "      <%s %s/>\n" % (key, attrs)
body += "    </%s>\n" % section
s = open(path, encoding="utf-8").read()
pattern = re.compile(r"    <%s>\n.*?    </%s>\n" % (section, section), re.S)
if pattern.search(s):
    s = pattern.sub(lambda m: body, s)
else:
    s = s.replace("  </vtxQueryApp>", body + "  </vtxQueryApp>")
open(path, "w", encoding="utf-8").write(s)
