#!/usr/bin/env python3
"""make_zip.py OUT.zip [--file NAME=PATH]... [--tree DIR]...

Writes one of ヨポ's zip downloads so that the same files always give the same
bytes: names sorted, every entry stamped with SOURCE_DATE_EPOCH (in UTC; the
newest file's time when it is unset), fixed permissions, no directory
entries, no extra fields. --file stores PATH as NAME, --tree stores every
file under DIR by its path under DIR.
"""
import argparse
import os
import pathlib
import sys
import time
import zipfile

# Zip times start in 1980 and have two-second steps.
kEarliest = (1980, 1, 1, 0, 0, 0)
kFileMode = 0o100644
kProgramMode = 0o100755


def entries(args):
    found = {}
    for pair in args.file:
        name, _, path = pair.partition('=')
        found[name] = pathlib.Path(path)
    for tree in args.tree:
        root = pathlib.Path(tree)
        for path in root.rglob('*'):
            if path.is_file():
                found[path.relative_to(root).as_posix()] = path
    return found


def stamp(files):
    epoch = os.environ.get('SOURCE_DATE_EPOCH')
    seconds = int(epoch) if epoch else max(int(path.stat().st_mtime) for path in files.values())
    return max(kEarliest, time.gmtime(seconds)[:6])


def main():
    parser = argparse.ArgumentParser(description='Writes a reproducible zip.')
    parser.add_argument('out')
    parser.add_argument('--file', action='append', default=[])
    parser.add_argument('--tree', action='append', default=[])
    args = parser.parse_args()
    files = entries(args)
    if not files:
        sys.exit('make_zip: nothing to put in ' + args.out)
    date_time = stamp(files)
    partial = args.out + '.part'
    with zipfile.ZipFile(partial, 'w') as archive:
        for name in sorted(files):
            data = files[name].read_bytes()
            entry = zipfile.ZipInfo(name, date_time)
            entry.create_system = 3
            entry.external_attr = (kProgramMode if name.endswith('.exe') else kFileMode) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(entry, data, compresslevel=9)
    os.replace(partial, args.out)


if __name__ == '__main__':
    main()
