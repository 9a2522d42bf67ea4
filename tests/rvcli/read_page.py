#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads an exported page as a browser's parser would and prints what it holds as JSON: the heading,
# the table's headers and cells (text and dir attribute), and every address the page would load.
import json
import sys
from html.parser import HTMLParser


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.heading, self.headers, self.rows, self.dirs, self.loads = "", [], [], [], []
        self.cell = None
        self.in_heading = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.loads += [attrs[name] for name in ("src", "href") if name in attrs]
        if tag == "h1":
            self.in_heading = True
        elif tag == "tr":
            self.rows.append([])
            self.dirs.append([])
        elif tag in ("td", "th"):
            self.cell = ""
            self.dirs[-1].append(attrs.get("dir", ""))

    def handle_endtag(self, tag):
        if tag == "h1":
            self.in_heading = False
        elif tag in ("td", "th"):
            self.rows[-1].append(self.cell)
            self.cell = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data
        elif self.in_heading:
            self.heading += data


page = Page()
with open(sys.argv[1], encoding="utf-8", newline="") as file:
    page.feed(file.read())
page.close()
headers = page.rows.pop(0) if page.rows else []
page.dirs = page.dirs[1:]
print(json.dumps({"heading": page.heading, "headers": headers, "rows": page.rows, "dirs": page.dirs,
                  "loads": page.loads}))
