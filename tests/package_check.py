#!/usr/bin/env python3
"""Checks a release zip: one folder holding exactly vantu.exe, Pelka.dll, morvel-host.exe,
標準.sef and its companion 標準.sef.txt (the bundled engines' keywords), readme.txt and the
browser extension's folders browser/extension (Chrome, Edge) and browser/firefox; each name
as Windows' own unpacking reads it (UTF-8 when the entry has the language encoding flag, bit
11, else the Japanese OEM code page 932); the binaries, the engine file and its companion
byte for byte those of the build, of the package's processor; the extension's
files those of the repository, in the Firefox folder too but for a manifest without "key";
readme.txt in UTF-8 with a byte order mark and CR LF line ends.

Usage: package_check.py ZIP ARCH DIST_DIR VERSION
"""
import json
import os
import struct
import sys
import zipfile

MACHINES = {"x64": 0x8664, "x86": 0x014C}
# The files checked byte for byte against the build come first.
BUILT = ["vantu.exe", "Pelka.dll", "morvel-host.exe", "標準.sef", "標準.sef.txt"]
EXTENSION = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "browser", "extension")


# The extension's folders in the package, each with the source files it holds.
EXTENSION_FOLDERS = ["browser/extension/", "browser/firefox/"]


def extension_files():
    found = {}
    for top, _, names in os.walk(EXTENSION):
        for n in names:
            rel = os.path.relpath(os.path.join(top, n), EXTENSION).replace(os.sep, "/")
            for folder in EXTENSION_FOLDERS:
                found[folder + rel] = os.path.join(top, n)
    return found


EXTENSION_FILES = extension_files()
FILES = BUILT + ["readme.txt"] + sorted(EXTENSION_FILES)


def windows_name(info):
    # zipfile decodes names without the flag as code page 437; take the raw bytes back.
    if info.flag_bits & 0x800:
        return info.filename
    return info.filename.encode("cp437").decode("cp932")


def pe_machine(data):
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, offset + 4)[0]


def firefox_manifest_faults(source, packed):
    """Firefox's manifest: the source's members but "key", each the same."""
    try:
        want = json.loads(source)
        got = json.loads(packed)
    except ValueError as e:
        return [f"browser/firefox/manifest.json: {e}"]
    want.pop("key", None)
    if got != want:
        return ["browser/firefox/manifest.json is not the source's without \"key\""]
    return []


def main():
    path, arch, dist, version = sys.argv[1:5]
    folder = f"morvel-{version}-{arch}/"
    faults = []
    with zipfile.ZipFile(path) as z:
        if z.testzip() is not None:
            faults.append("an entry fails its CRC check")
        entries = {}
        for info in z.infolist():
            name = windows_name(info)
            if name.endswith("/"):
                if not any((folder + f).startswith(name) for f in FILES):
                    faults.append(f"unexpected folder {name!r}")
                continue
            if any(ord(c) > 127 for c in info.filename) and not info.flag_bits & 0x800:
                faults.append(f"{name!r}: non-ASCII name without the UTF-8 flag")
            entries[name] = z.read(info)
        expected = [folder + f for f in FILES]
        if sorted(entries) != sorted(expected):
            faults.append(f"entries {sorted(entries)} instead of {sorted(expected)}")
        for name in FILES:
            data = entries.get(folder + name)
            if data is None or name == "readme.txt":
                continue
            source = f"{dist}/{name}" if name in BUILT else EXTENSION_FILES[name]
            with open(source, "rb") as f:
                expected_data = f.read()
            if name == "browser/firefox/manifest.json":
                faults += firefox_manifest_faults(expected_data, data)
            elif expected_data != data:
                faults.append(f"{name} differs from the build's")
            if name.endswith((".exe", ".dll")) and pe_machine(data) != MACHINES[arch]:
                faults.append(f"{name} is not built for {arch}")
        readme = entries.get(folder + "readme.txt", b"")
        if not readme.startswith(b"\xef\xbb\xbf"):
            faults.append("readme.txt does not start with the UTF-8 byte order mark")
        try:
            text = readme[3:].decode("utf-8")
        except UnicodeDecodeError as e:
            faults.append(f"readme.txt is not UTF-8: {e}")
            text = ""
        if readme.count(b"\n") == 0 or readme.count(b"\n") != readme.count(b"\r\n") \
                or readme.count(b"\r") != readme.count(b"\r\n"):
            faults.append("readme.txt has line ends other than CR LF")
        for must in ("Morvel " + version, "vantu.exe", "vantu.ini", "標準.sef", "タスクトレイ",
                     "morvel-host.exe", "browser\\extension", "browser\\firefox"):
            if must not in text:
                faults.append(f"readme.txt does not mention {must!r}")
    for fault in faults:
        print(f"{path}: {fault}")
    if not faults:
        print(f"{path}: {len(FILES)} files in {folder}, names as Windows reads them, "
              "contents as built, readme.txt in Shift-JIS with CR LF")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
