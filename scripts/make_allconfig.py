#!/usr/bin/env python3
"""Writes the shipped resources/files/allconfig.ran: the 4056-byte all-settings
record holding the factory values (automatic network choice, standby refused,
validity choice "3", status reports on, the four default event sounds), so a
new program folder plays its sounds from the first run on."""
import os

rec = bytearray(4056)
rec[0] = 0                      # network selection: automatic
rec[2] = 1                      # refuse the system's standby
rec[37:39] = b"3\0"             # SMS validity choice
rec[39:41] = b"1\0"             # SMS status-report choice
sounds = [(41, "chimes"), (1042, "tada"), (2043, "bird"), (3044, "stelephone")]
for offset, name in sounds:
    rec[offset] = 0             # not muted
    path = (".\\resource\\sound\\wav\\%s.wav" % name).encode("ascii")
    rec[offset + 1:offset + 1 + len(path)] = path
rec[4046] = ord("1")            # SMS store choice

out = os.path.join(os.path.dirname(__file__), "..", "resources", "files", "allconfig.ran")
with open(out, "wb") as f:
    f.write(rec)
