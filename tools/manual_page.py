#!/usr/bin/env python3
"""Writes a manual page from a Markdown document: tools/manual_page.py SOURCE.md PAGE VERSION

PAGE is the page's file, named NAME.SECTION (kovran-language.7). The document's "# Title"
gives the NAME line, its "## " headings the sections and its "### " headings the subsections.
The Markdown read is the plain kind the reference is written in: paragraphs, "- " lists,
code blocks indented by four blanks, tables of "|" rows, `code`, **bold**, *italic* and
[text](link). Tables are laid out by tbl, which the first line of the page asks for.
"""
import os
import re
import sys


def escape(text):
    """Text as roff prints it: backslashes escaped, other characters than ASCII named."""
    text = text.replace("\\", "\\e")
    return "".join(c if ord(c) < 128 else f"\\[u{ord(c):04X}]" for c in text)


def literal(text):
    """Program text: escaped, and its hyphens real minus signs, so that it can be copied."""
    return escape(text).replace("-", "\\-")


def inline(text):
    """One line of Markdown prose as roff text."""
    out = []
    for k, part in enumerate(re.split(r"(`[^`]*`)", text)):
        if k % 2 == 1:
            out.append("\\fB" + literal(part[1:-1].replace("\\|", "|")) + "\\fR")
            continue
        part = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", part).replace("\\|", "|")
        part = escape(part)
        part = re.sub(r"\*\*(.+?)\*\*", r"\\fB\1\\fR", part)
        part = re.sub(r"(?<![\w*])\*(?=\S)(.+?)(?<=\S)\*(?![\w*])", r"\\fI\1\\fR", part)
        out.append(part)
    return "".join(out)


def line_of(text):
    """A line of text that roff must not take for a request."""
    return "\\&" + text if text[:1] in (".", "'") else text


def cells(row):
    row = row.strip()
    return [c.strip() for c in re.split(r"(?<!\\)\|", row.strip("|"))]


def visible(roff):
    """The width of roff text as printed, near enough."""
    return len(re.sub(r"\\f[BIR]|\\\[u[0-9A-F]{4}\]|\\[-e&]", "x", roff))


def table(rows):
    header = [inline(c) for c in cells(rows[0])]
    n = len(header)
    body = [[inline(c) for c in (cells(r) + [""] * n)[:n]] for r in rows[2:]]
    widths = [max(visible(r[j]) for r in [header] + body) for j in range(n)]
    # A narrow table keeps each cell on its line but lets the last column wrap; a wide one
    # shares the line among its columns and wraps them all.
    wide = sum(widths[:-1]) + 3 * n > 40
    wrap = range(n) if wide else [n - 1]
    kinds = ["lx" if wide or j == n - 1 else "l" for j in range(n)]
    out = [".sp", ".TS", "tab(\t);", " ".join(["lB"] * n), " ".join(kinds) + "."]
    out.append("\t".join(header))
    out.append("_")
    for r in body:
        out.append("\t".join("T{\n" + line_of(c) + "\nT}" if j in wrap else c
                             for j, c in enumerate(r)))
    out.append(".TE")
    return out


def convert(markdown, name, section, version):
    lines = markdown.split("\n")
    title = lines[0].lstrip("# ").strip()
    out = [
        "'\\\" t",
        f'.TH {name.upper()} {section} "" "kovran {version}" "kovran manual"',
        ".\\\" Made from docs/language.md by tools/manual_page.py; edit that file instead.",
        ".ad l",
        ".nh",
        ".SH NAME",
        f"{name} \\- {escape(title[0].lower() + title[1:])}",
        ".SH DESCRIPTION",
    ]
    k = 1
    in_list = False
    while k < len(lines):
        line = lines[k]
        stripped = line.strip()
        indent = len(line) - len(line.lstrip(" "))
        if not stripped or re.fullmatch(r"<!--.*-->", stripped):
            k += 1
            continue
        if line.startswith("#"):
            in_list = False
            level, text = len(line) - len(line.lstrip("#")), line.lstrip("#").strip()
            out.append((".SH " + inline(text).upper()) if level == 2 else (".SS " + inline(text)))
            k += 1
        elif indent >= (6 if in_list else 4):
            block = []
            while k < len(lines) and (not lines[k].strip() or lines[k].startswith(" " * indent)):
                block.append(lines[k][indent:])
                k += 1
            while block and not block[-1].strip():
                block.pop()
            out += [".sp", ".RS 4", ".nf"] + [line_of(literal(b)) for b in block] + [".fi", ".RE"]
        elif stripped.startswith("|"):
            in_list = False
            rows = []
            while k < len(lines) and lines[k].strip().startswith("|"):
                rows.append(lines[k])
                k += 1
            out += table(rows)
        else:
            item = stripped.startswith("- ")
            if item:
                in_list = True
                out.append(".IP \\(bu 2")
                text = [stripped[2:]]
            elif in_list and indent >= 2:
                out.append(".IP \"\" 2")  # a further paragraph of the item
                text = [stripped]
            else:
                in_list = False
                out.append(".PP")
                text = [stripped]
            k += 1
            # The paragraph runs to a blank line, a heading, a table, a block or a new item.
            while k < len(lines):
                nxt = lines[k]
                s = nxt.strip()
                if not s or nxt.startswith("#") or s.startswith("|") or s.startswith("- "):
                    break
                if len(nxt) - len(nxt.lstrip(" ")) >= (6 if in_list else 4):
                    break
                text.append(s)
                k += 1
            out += [line_of(inline(t)) for t in text]
    return "\n".join(out) + "\n"


def main():
    source, page, version = sys.argv[1:4]
    name, section = os.path.basename(page).rsplit(".", 1)
    with open(source, encoding="utf-8") as f:
        text = convert(f.read(), name, section, version)
    with open(page, "w", encoding="ascii") as f:
        f.write(text)


if __name__ == "__main__":
    main()
