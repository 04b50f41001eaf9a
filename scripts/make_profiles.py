#!/usr/bin/env python3
"""Writes the shipped connection profiles: resources/files/config.ran with the
three built-in profiles (record 0 the factory profile) and
resources/files/defaultcfg.ran with the factory profile as the default.
Each record is 457 bytes of NUL-terminated text fields."""
import os

FIELDS = [("name", 20), ("user", 104), ("password", 104), ("number", 20), ("apnMode", 4), ("apn", 104),
          ("dnsMode", 4), ("dns1", 25), ("dns2", 25), ("pdpMode", 4), ("pdpAddress", 25), ("pdpType", 5),
          ("auth", 5), ("ask", 4), ("save", 4)]

def record(**values):
    out = b""
    for name, width in FIELDS:
        text = values.get(name, "").encode("ascii")
        assert len(text) < width, name
        out += text + b"\0" * (width - len(text))
    assert len(out) == 457
    return out

BASE = dict(apnMode="1", dnsMode="1", pdpMode="1", pdpType="IP", auth="PAP", ask="0", save="0")
PROFILES = [
    # The factory profile: the operator chooses the access point.
    record(name="Linkora Default", number="*99#", **BASE),
    # A manual access point, the most common operator setting.
    record(name="Internet APN", number="*99#", **dict(BASE, apnMode="0"), apn="internet"),
    # PDP context 1 with CHAP, asking for the credentials before each dial.
    record(name="Context 1 CHAP", number="*99***1#", **dict(BASE, auth="CHAP", ask="1")),
]

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "files")
for name, data in (("config.ran", b"".join(PROFILES)), ("defaultcfg.ran", PROFILES[0])):
    path = os.path.join(here, name)
    with open(path, "wb") as f:
        f.write(data)
    os.chmod(path, 0o600)
    print(path, len(data))
