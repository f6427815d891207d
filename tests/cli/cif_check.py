#!/usr/bin/env python3
"""Reads pellum-cli's powder CIF with independent CIF parsers and compares every value with
what pellum-cli printed and with the .pro and .dat files it wrote, to full precision.

    cif_check.py PELLUM_CLI EXAMPLES_DIR

Runs the example film in a plain folder and again in a folder whose name holds both quote
characters, a non-ASCII letter and a '%41', with six readings and with two (no su), and
against silicon SRM 640e (the standard's name, cell and wavelength). Exit
status 0 when everything matches, 1 on a mismatch, 77 (skipped) when gemmi is missing on a
system that is not Debian; on Debian, scripts/install-deps installs it.
"""
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse

try:
    import gemmi
except ImportError:
    if os.path.exists("/etc/debian_version"):
        print("cif_check: python3-gemmi is missing: run scripts/install-deps test")
        sys.exit(1)
    print("cif_check: skipped: the gemmi Python module is not installed on this system")
    sys.exit(77)
try:
    import CifFile  # PyCifRW, a second parser, for the CIF 1.1 and CIF 2.0 grammars
except ImportError:
    CifFile = None
    if os.path.exists("/etc/debian_version"):
        print("cif_check: python3-pycifrw is missing: run scripts/install-deps test")
        sys.exit(1)

# Every data name the CIF may hold: the core dictionary's and the powder dictionary's own.
KNOWN_NAMES = {
    "_audit.block_code", "_audit.creation_method", "_audit_conform.dict_name",
    "_audit_conform.dict_version", "_audit_link.block_code", "_audit_link.block_description",
    "_diffrn.special_details", "_pd_phase.id", "_pd_phase.name",
    "_pd_calib_xcoord_overall.id", "_pd_calib_xcoord_overall.phase_id",
    "_pd_calibration.conversion_eqn", "_pd_calibration.special_details",
    "_pd_calib_xcoord.nominal_2theta", "_pd_calib_xcoord.nominal_2theta_su",
    "_pd_calib_xcoord.actual_2theta", "_pd_data.point_id", "_pd_meas.2theta_scan",
    "_pd_proc.2theta_corrected", "_pd_meas.intensity_total", "_pd_proc.intensity_norm",
    "_pd_peak.id", "_pd_peak.2theta_maximum", "_pd_peak.intensity",
    # With a reference other than the built-in table: the standard's cell, the wavelength.
    "_cell.length_a", "_cell.length_b", "_cell.length_c", "_cell.angle_alpha",
    "_cell.angle_beta", "_cell.angle_gamma", "_diffrn_radiation_wavelength.value",
    "_diffrn_radiation.type",
}

# What the CIF names the standard by: the built-in table, and silicon SRM 640e with Cu K-alpha1.
DEFAULT = {"options": [], "phase": "Si", "name": "silicon", "id": "Si_internal_standard",
           "a": None, "wavelength": None, "type": None}
SI_640E = {"options": ["--standard", "si-640e"], "phase": "si-640e", "name": "silicon SRM 640e",
           "id": "si-640e_internal_standard", "a": 5.431179, "wavelength": 1.5405929,
           "type": "Cu K\\a~1~"}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def field(value):
    """A value as its text: a text field without the line end after its opening ';'."""
    value = gemmi.cif.as_string(value)
    return value[1:] if value.startswith("\n") else value


def text(block, name):
    return field(block.find_value(name))


def decoded(value):
    """Pellum's encoding undone: soft breaks removed, then %HH as in a URI."""
    return urllib.parse.unquote_to_bytes(value.replace("%\n", "")).decode("utf-8", "replace")


def printed_calibration(stdout):
    lines = {}
    residuals = []
    for line in stdout.splitlines():
        words = line.split()
        if words and words[0] == "residual":
            residuals.append(words[1:])
        elif words and words[0] in ("model", "a1", "a2", "a3", "rms", "max", "su_a1", "su_a2",
                                    "su_a3", "range"):
            lines[words[0]] = words[1:]
    return lines, residuals


def check_calibration(block, printed, residuals, label, standard):
    equation = text(block, "_pd_calibration.conversion_eqn")
    check(("model " + printed["model"][0]) in equation, label + ": model")
    for name in ("a1", "a2", "a3"):
        if printed["model"][0] == "straight-line" and name == "a3":
            check("a3 = 0 (fixed by the model)" in equation, label + ": a3 fixed")
            continue
        found = re.search(r"^%s = (\S+)(?: \(su (\S+)\))?$" % name, equation, re.M)
        if not check(found is not None, label + ": " + name + " in the equation"):
            continue
        check(float(found.group(1)) == float(printed[name][0]), label + ": " + name)
        su = printed.get("su_" + name)
        check((found.group(2) is None) == (su is None), label + ": su of " + name + " given")
        if su is not None and found.group(2) is not None:
            check(float(found.group(2)) == float(su[0]), label + ": su of " + name)

    details = text(block, "_pd_calibration.special_details")
    rows = re.findall(r"^reflection (\d) (\d) (\d) nominal (\S+) actual (\S+) calibrated (\S+) "
                      r"residual (\S+)$", details, re.M)
    check(len(rows) == len(residuals), label + ": one reflection line per residual")
    for row, printed_row in zip(rows, residuals):
        check("".join(row[:3]) == printed_row[0], label + ": hkl " + printed_row[0])
        for got, want in zip(row[3:], printed_row[1:]):
            check(float(got) == float(want), label + ": residual line of " + printed_row[0])
    for name in ("rms", "max", "range"):
        found = re.search(r"^%s (.*)$" % name, details, re.M)
        if check(found is not None, label + ": " + name):
            numbers = [float(w) for w in found.group(1).split("(")[0].split()]
            check(numbers == [float(w) for w in printed[name]], label + ": " + name)

    nominal = list(block.find_loop("_pd_calib_xcoord.nominal_2theta"))
    actual = list(block.find_loop("_pd_calib_xcoord.actual_2theta"))
    su = list(block.find_loop("_pd_calib_xcoord.nominal_2theta_su"))
    check([float(v) for v in nominal] == [float(r[1]) for r in residuals], label + ": nominal")
    check([float(v) for v in actual] == [float(r[2]) for r in residuals], label + ": actual")
    free = len(residuals) - (2 if printed["model"][0] == "straight-line" else 3)
    if free > 0:
        total = 0.0
        for r in residuals:
            total += float(r[4]) * float(r[4])
        check(all(float(v) == math.sqrt(total / free) for v in su), label + ": reading su")
    else:
        check(all(v == "?" for v in su), label + ": no reading su without a degree of freedom")
    check(block.find_value("_pd_calib_xcoord_overall.phase_id") == standard["phase"],
          label + ": phase")
    check(gemmi.cif.as_string(block.find_value("_pd_phase.name")) == standard["name"],
          label + ": the standard's name")
    for name in ("_cell.length_a", "_cell.length_b", "_cell.length_c"):
        value = block.find_value(name)
        check((value is None and standard["a"] is None) or
              (value is not None and float(value) == standard["a"]), label + ": " + name)


def check_wavelength(document, standard, label):
    for block in document:
        value = block.find_value("_diffrn_radiation_wavelength.value")
        check((value is None and standard["wavelength"] is None) or
              (value is not None and float(value) == standard["wavelength"]),
              label + ": the wavelength in " + block.name)
    kind = document[0].find_value("_diffrn_radiation.type")
    check((kind is None and standard["type"] is None) or
          (kind is not None and gemmi.cif.as_string(kind) == standard["type"]),
          label + ": the radiation's type")


def coefficients(printed):
    return [float(printed[name][0]) for name in ("a1", "a2", "a3")]


def corrected(c, x):
    return (c[1] * x + c[0]) + (c[2] * x) * x


def check_profile(block, folder, c, label):
    rows = list(zip(*(block.find_loop(name) for name in (
        "_pd_data.point_id", "_pd_meas.2theta_scan", "_pd_proc.2theta_corrected",
        "_pd_meas.intensity_total", "_pd_proc.intensity_norm"))))
    with open(os.path.join(folder, "film-profile.txt"), "rb") as f:
        points = [line.split() for line in f.read().decode("ascii").splitlines()[1:]]
    with open(os.path.join(folder, "film-profile.pro")) as f:
        pro = [line.rstrip("\n").split("\t") for line in f.readlines()[1:]]
    maximum = max(float(p[1]) for p in points)
    check(len(rows) == len(points) == len(pro), label + ": one row per point")
    for i, (row, point, out) in enumerate(zip(rows, points, pro)):
        x, intensity = float(point[0]), float(point[1])
        values = [float(v) for v in row[1:]]
        ok = (int(row[0]) == i + 1 and values[0] == x and values[1] == corrected(c, x) and
              values[2] == intensity and values[3] == intensity / maximum * 100.0 and
              "%f" % values[1] == out[0] and "%f" % values[3] == out[1])
        if not check(ok, "%s: profile row %d %s against %s" % (label, i + 1, row, out)):
            break
    header = text(block, "_diffrn.special_details")
    with open(os.path.join(folder, "film-profile.txt"), "rb") as f:
        first = f.readline().decode("ascii").rstrip("\r\n")
    check(decoded(header) == first, label + ": profile header line")


def check_peaks(block, folder, c, label):
    rows = list(zip(*(block.find_loop(name) for name in (
        "_pd_peak.id", "_pd_peak.2theta_maximum", "_pd_peak.intensity"))))
    with open(os.path.join(folder, "film.dat")) as f:
        dat = f.read().splitlines()[1:-1]
    with open(os.path.join(folder, "film.pid")) as f:
        lines = f.read().splitlines()
    heading = next(i for i, line in enumerate(lines) if line.split() and line.split()[0][0] in "2-Theta")
    peaks = [line.split() for line in lines[heading + 1:] if len(line.split()) >= 5]
    check(len(rows) == len(dat) == len(peaks), label + ": one row per peak")
    for i, (row, peak, out) in enumerate(zip(rows, peaks, dat)):
        two_theta, intensity = float(row[1]), float(row[2])
        ok = (two_theta == corrected(c, float(peak[0])) and intensity == float(peak[4]) and
              "0 0 0  %10f%10.1f" % (two_theta, intensity) == out)
        if not check(ok, "%s: peak row %d %s against %s" % (label, i + 1, row, out)):
            break
    check(decoded(text(block, "_diffrn.special_details")) == "\n".join(lines[:heading + 1]),
          label + ": listing header lines")


def check_links(document, folder, label, standard):
    blocks = {b.find_value("_audit.block_code"): b for b in document}
    check(list(blocks) == ["calibration", "film.pid", "film-profile.txt"], label + ": blocks")
    ids = {b.find_value("_pd_calib_xcoord_overall.id") for b in document}
    check(ids == {standard["id"]}, label + ": every block names the calibration")
    links = document.find_block("calibration").find("_audit_link.", ["block_code",
                                                                     "block_description"])
    described = {row.str(0): decoded(field(row[1])) for row in links}
    for name, kind, output in (("film.pid", "peak listing", "film.dat"),
                               ("film-profile.txt", "profile", "film-profile.pro")):
        want = "%s %s, converted to %s" % (kind, os.path.join(folder, name),
                                          os.path.join(folder, output))
        check(described.get(name) == want, label + ": the link to " + name)
    for block in document:
        for item in block:
            names = [item.pair[0]] if item.pair else (item.loop.tags if item.loop else [])
            for name in names:
                check(name in KNOWN_NAMES, label + ": unknown data name " + name)


def check_grammars(path, label):
    with open(path, "rb") as f:
        content = f.read()
    check(all(b == 9 or b == 10 or 32 <= b < 127 for b in content), label + ": plain ASCII")
    check(max(len(line) for line in content.split(b"\n")) <= 2048, label + ": line length")
    if CifFile is None:
        print("cif_check: PyCifRW not installed: the grammar checks are left out")
        return
    CifFile.ReadCif(path, grammar="1.1")
    cif2 = path + "2"
    with open(cif2, "wb") as f:
        f.write(content.replace(b"#\\#CIF_1.1", b"#\\#CIF_2.0", 1))
    CifFile.ReadCif(cif2, grammar="2.0")


def run(cli, examples, folder, readings, label, standard=DEFAULT):
    os.makedirs(folder)
    for name in ("film.pid", "film-profile.txt"):
        shutil.copy(os.path.join(examples, name), folder)
    cif = os.path.join(folder, "film.cif")
    result = subprocess.run(
        [cli, "--two-theta", readings, "--report", os.path.join(folder, "fitdata.txt"),
         "--cif", cif, os.path.join(folder, "film.pid"), os.path.join(folder, "film-profile.txt")]
        + standard["options"],
        capture_output=True, check=False)
    if not check(result.returncode == 0, label + ": pellum-cli exit status " +
                 str(result.returncode) + " " + result.stderr.decode(errors="replace")):
        return
    printed, residuals = printed_calibration(result.stdout.decode())
    document = gemmi.cif.read_file(cif)
    check_links(document, folder, label, standard)
    check_calibration(document.find_block("calibration"), printed, residuals, label, standard)
    check_wavelength(document, standard, label)
    check_profile(document.find_block("film-profile.txt"), folder, coefficients(printed), label)
    check_peaks(document.find_block("film.pid"), folder, coefficients(printed), label)
    check_grammars(cif, label)


def main():
    cli, examples = sys.argv[1], sys.argv[2]
    with open(os.path.join(examples, "two-theta.txt")) as f:
        six = f.read().strip()
    two = ",".join(six.split(",")[:2])
    with tempfile.TemporaryDirectory() as work:
        odd = os.path.join(work, "it's \"Jürgen\" %41 [x]").encode("utf-8").decode("utf-8")
        run(cli, examples, os.path.join(work, "film"), six, "example film")
        run(cli, examples, odd, six, "quoted folder")
        run(cli, examples, os.path.join(work, "two"), two, "two readings")
        run(cli, examples, os.path.join(work, "si-640e"), six, "silicon SRM 640e", SI_640E)
    for failure in failures[:40]:
        print("cif_check: FAILED: " + failure)
    if failures:
        return 1
    print("cif_check: every value read back equals pellum-cli's, the .pro's and the .dat's")
    return 0


if __name__ == "__main__":
    sys.exit(main())
