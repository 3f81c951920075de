#!/usr/bin/env python3
"""Checks the pages of an installed help folder: each page is well formed
(every element closed in order, no id used twice), every link to a place in
a page finds an element with that id, every image, style sheet and page a
page refers to exists in the folder, and every image has a text for readers
who cannot see it.

usage: check-help.py HELP_FOLDER
"""
import os
import sys
from html.parser import HTMLParser
from urllib.parse import unquote, urlsplit

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}


class Page(HTMLParser):
    def __init__(self, path):
        super().__init__(convert_charrefs=True)
        self.path = path
        self.open = []
        self.ids = {}
        self.references = []  # (line, attribute, value)
        self.problems = []

    def problem(self, text):
        self.problems.append(f"{self.path}:{self.getpos()[0]}: {text}")

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        element_id = attributes.get("id")
        if element_id is not None:
            if element_id in self.ids:
                self.problem(f'id "{element_id}" used twice (first on line {self.ids[element_id]})')
            self.ids[element_id] = self.getpos()[0]
        if tag == "a" and attributes.get("href"):
            self.references.append((self.getpos()[0], "href", attributes["href"]))
        if tag == "link" and attributes.get("href"):
            self.references.append((self.getpos()[0], "href", attributes["href"]))
        if tag == "img":
            if not attributes.get("src"):
                self.problem("image without src")
            else:
                self.references.append((self.getpos()[0], "src", attributes["src"]))
            if not (attributes.get("alt") or "").strip():
                self.problem("image without alt text")
        if tag not in VOID:
            self.open.append((tag, self.getpos()[0]))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.open.pop()

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        if not self.open:
            self.problem(f"</{tag}> closes nothing")
        elif self.open[-1][0] != tag:
            self.problem(f"</{tag}> closes <{self.open[-1][0]}> of line {self.open[-1][1]}")
            # Resynchronise on the nearest matching element, if any.
            for k in range(len(self.open) - 1, -1, -1):
                if self.open[k][0] == tag:
                    del self.open[k:]
                    break
        else:
            self.open.pop()

    def finish(self):
        self.close()
        for tag, line in self.open:
            self.problems.append(f"{self.path}:{line}: <{tag}> is never closed")


def check(folder):
    pages = {}
    problems = []
    for root, _, names in os.walk(folder):
        for name in sorted(names):
            if name.endswith((".html", ".htm")):
                path = os.path.join(root, name)
                page = Page(os.path.relpath(path, folder))
                with open(path, encoding="utf-8") as f:
                    page.feed(f.read())
                page.finish()
                pages[os.path.normpath(path)] = page
                problems += page.problems
    if not pages:
        problems.append(f"{folder}: no pages")
    for path, page in pages.items():
        for line, attribute, value in page.references:
            parts = urlsplit(value)
            if parts.scheme or parts.netloc:
                continue  # addresses on the web and mail addresses are not checked here
            where = f"{page.path}:{line}"
            target = os.path.normpath(os.path.join(os.path.dirname(path), unquote(parts.path)))
            if parts.path and not os.path.isfile(target):
                problems.append(f'{where}: {attribute}="{value}" names a file that does not exist')
                continue
            if parts.fragment:
                linked = pages.get(target if parts.path else path)
                if linked is None:
                    problems.append(f'{where}: {attribute}="{value}" points into a file that is not a page')
                elif unquote(parts.fragment) not in linked.ids:
                    problems.append(f'{where}: {attribute}="{value}" finds no element with that id')
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    problems = check(sys.argv[1])
    for p in problems:
        print(p, file=sys.stderr)
    print(f"help: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
