#!/usr/bin/env python3
"""Fails when an include of the program's sources points up the stack of folders.

The folders of src/ form a stack, bottom to top (STACK); tools/ sits on top. A rule (a file of vantle_core)
includes only rules of its own folder or of folders below it. A screen (a file of vantle_ui, listed in its
folder's sources.cmake under <FOLDER>_UI_SOURCES) includes any rule below the top, and screens in their own
order (SCREENS): those of its own folder and of lower ranks; the calendar, checkout and settlement screens
share a rank and do not include each other. Nothing below the top includes app/ or tools/, and a folder's
sources.cmake lists only files of that folder.

Usage: include_order.py ROOT   (prints every offending include with its file and line)
"""
import os
import re
import sys

STACK = ['base', 'data', 'tax', 'notice', 'calendar', 'printing', 'payment', 'settings', 'checkout', 'settlement',
         'app', 'tools']
TOP = ('app', 'tools')
SCREENS = {'base': 0, 'printing': 1, 'payment': 2, 'settings': 3,
           'calendar': 4, 'checkout': 4, 'settlement': 4, 'app': 5}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
LISTING = re.compile(r'set\(\s*([A-Z]+)_(CORE|UI)_SOURCES\b([^)]*)\)', re.S)


def read_listings(root, problems):
    """The stems (folder/name) of every screen; a file listed by another folder's sources.cmake is a problem."""
    screens = set()
    src = os.path.join(root, 'src')
    for folder in sorted(os.listdir(src)):
        listing = os.path.join(src, folder, 'sources.cmake')
        if not os.path.isfile(listing):
            continue
        with open(listing, encoding='utf-8') as f:
            text = re.sub(r'#[^\n]*', '', f.read())
        for _, kind, block in LISTING.findall(text):
            for name in block.split():
                if not name.startswith(folder + '/'):
                    problems.append(f'src/{folder}/sources.cmake: lists {name} of another folder')
                if kind == 'UI':
                    screens.add(os.path.splitext(name)[0])
    return screens


def sources(root):
    """(path, folder, stem) of every C++ file of src/ and tools/; the stem is how includes name the file."""
    for top in ('src', 'tools'):
        for dirpath, _, files in sorted(os.walk(os.path.join(root, top))):
            for name in sorted(files):
                if not name.endswith(('.cpp', '.h')):
                    continue
                path = os.path.relpath(os.path.join(dirpath, name), root)
                parts = path.split(os.sep)
                if top == 'tools':
                    yield path, 'tools', os.path.splitext(name)[0]
                elif len(parts) >= 3:
                    yield path, parts[1], os.path.splitext('/'.join(parts[1:]))[0]


def check(root):
    problems = []
    screens = read_listings(root, problems)
    for path, folder, stem in sources(root):
        if folder not in STACK:
            problems.append(f'{path}: the folder {folder} has no place in the stack')
            continue
        is_screen = stem in screens
        with open(os.path.join(root, path), encoding='utf-8') as f:
            for number, line in enumerate(f, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1)
                other = target.split('/')[0]
                if '/' not in target or other not in STACK:
                    continue  # a file beside it (tools/), or not one of the program's
                other_screen = os.path.splitext(target)[0] in screens
                where = f'{path}:{number}: includes "{target}"'
                up = STACK.index(other) > STACK.index(folder)
                if up and (not is_screen or other in TOP):
                    problems.append(f'{where}: {other} is above {folder}')
                elif other_screen and not is_screen:
                    problems.append(f'{where}: a rule includes a screen')
                elif other_screen and other != folder and SCREENS.get(other, 99) >= SCREENS.get(folder, 99):
                    problems.append(f'{where}: the screens of {other} are not below those of {folder}')
    return problems


def main(root):
    problems = check(root)
    for p in problems:
        print(p)
    print(f'{len(problems)} includes or listings point up the stack' if problems
          else 'every include points down the stack')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..')))
