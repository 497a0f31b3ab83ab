#!/usr/bin/env python3
"""Opens an archive with two independent readers and prints what they saw as JSON.

Usage: check_zip.py ARCHIVE [EXTRACT_FOLDER]

Python's zipfile lists the entries and runs testzip; Info-ZIP "unzip -t" tests every
entry again, and "unzip -p" must give the same bytes as zipfile. Each local header is read
too, so that a test can compare it with the central one. With EXTRACT_FOLDER the data of
entry i (as zipfile reads it) is written to EXTRACT_FOLDER/i, when there is any.
"""
import json
import os
import struct
import subprocess
import sys
import zipfile

LOCAL_HEADER = struct.Struct("<IHHHHHIIIHH")
LOCAL_SIGNATURE = 0x04034B50


def raw_name(info):
    # zipfile decodes names as UTF-8 when flag bit 11 is set, as CP437 otherwise.
    return info.filename.encode("utf-8" if info.flag_bits & 0x800 else "cp437")


def local_header(archive, offset):
    archive.seek(offset)
    fields = LOCAL_HEADER.unpack(archive.read(LOCAL_HEADER.size))
    (signature, version, flags, method, time, date, crc, csize, usize, nlen, elen) = fields
    name = archive.read(nlen)
    extra = archive.read(elen)
    return {
        "signature_ok": signature == LOCAL_SIGNATURE,
        "version_needed": version,
        "flags": flags,
        "method": method,
        "dos_date_time": (date << 16) | time,
        "crc": crc,
        "compressed_size": csize,
        "file_size": usize,
        "name_hex": name.hex(),
        "extra_hex": extra.hex(),
        "data_offset": offset + LOCAL_HEADER.size + nlen + elen,
    }


def main():
    path = sys.argv[1]
    extract = sys.argv[2] if len(sys.argv) > 2 else None
    report = {"zipfile_error": None, "testzip_bad": None, "entries": []}
    expected_stream = b""
    try:
        with zipfile.ZipFile(path) as archive, open(path, "rb") as raw:
            report["comment_hex"] = archive.comment.hex()
            report["testzip_bad"] = archive.testzip()
            for index, info in enumerate(archive.infolist()):
                data = archive.read(info)
                if not info.is_dir():
                    expected_stream += data
                if extract and data:  # an empty entry is no file: archives of 65,535 entries
                    with open(os.path.join(extract, str(index)), "wb") as out:
                        out.write(data)
                report["entries"].append({
                    "name": info.filename,
                    "name_hex": raw_name(info).hex(),
                    "method": info.compress_type,
                    "crc": info.CRC,
                    "compressed_size": info.compress_size,
                    "file_size": info.file_size,
                    "flags": info.flag_bits,
                    "version_made_by": (info.create_system << 8) | info.create_version,
                    "version_needed": info.extract_version,
                    "internal_attributes": info.internal_attr,
                    "external_attributes": info.external_attr,
                    "central_extra_hex": info.extra.hex(),
                    "comment_hex": info.comment.hex(),
                    "header_offset": info.header_offset,
                    "local": local_header(raw, info.header_offset),
                })
    except Exception as error:  # a reader that refuses the archive is the finding
        report["zipfile_error"] = f"{type(error).__name__}: {error}"

    test = subprocess.run(["unzip", "-t", path], capture_output=True)
    output = test.stdout.decode("latin-1") + test.stderr.decode("latin-1")
    # Exit status 1 is a warning; an archive without entries gets one and nothing else.
    empty = test.returncode == 1 and "zipfile is empty" in output
    report["unzip_ok"] = test.returncode == 0 or empty
    report["unzip_output"] = output
    data = subprocess.run(["unzip", "-p", path], capture_output=True)
    report["unzip_data_matches"] = (data.returncode == 0 or empty) and data.stdout == expected_stream
    # One write: json.dump would write piece by piece, slow for thousands of entries.
    sys.stdout.write(json.dumps(report) + "\n")


if __name__ == "__main__":
    main()
