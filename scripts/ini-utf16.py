#!/usr/bin/env python3
"""Turns a UTF-8 INI file into the form the Windows private-profile functions read on
any locale: UTF-16 LE with a byte-order mark and CR LF line ends.
Usage: ini-utf16.py SOURCE.utf8.ini TARGET.ini"""
import os
import sys

source, target = sys.argv[1], sys.argv[2]
with open(source, encoding="utf-8-sig") as f:
    lines = f.read().splitlines()
os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
temporary = target + ".tmp"
with open(temporary, "wb") as f:
    f.write(b"\xff\xfe" + "".join(line + "\r\n" for line in lines).encode("utf-16-le"))
os.replace(temporary, target)
