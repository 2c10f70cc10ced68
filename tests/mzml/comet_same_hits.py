#!/usr/bin/python3
"""Searches an mzML file and the MGF file of the same RAW file with Comet
against one small protein database and compares the top hit of every scan:

    comet_same_hits.py MZML MGF WORK_FOLDER

The database holds a protein made of the iRT retention-time peptides (the
precursors that sample.raw's scans target), random proteins and, made by
Comet, their reversed decoys. The precursor tolerance is wide, so that most
spectra have candidates. A spectrum read the same way from both files (peaks,
precursor m/z, charge) gets the same top hit at each charge searched, for
the same precursor neutral mass.

Prints one line per scan and charge whose hits differ (the first few), and a
closing line; exits 1 when they differ or Comet failed on either file.
"""

import os
import random
import re
import subprocess
import sys

IRT_PEPTIDES = ["LGGNEQVTR", "YILAGVENSK", "GTFIIDPGGVIR", "GTFIIDPAAVIR", "GAGSSEPVTGLDAK", "TPVISGGPYEYR",
                "VEATFGVDESNLK", "TPVITGAPYEYR", "DGLDAASYYAPVR", "ADVTPADFSEWSK", "LFLQFGAQGSPFLK"]
RANDOM_PROTEINS = 60
PROTEIN_LENGTH = 400
SHOWN = 10

# Comet's own parameter file, as `comet-ms -p` writes it, with these values.
PARAMETERS = {
    "database_name": "proteins.fasta",
    "decoy_search": "1",
    "num_threads": "1",
    "peptide_mass_tolerance": "1.0",
    "peptide_mass_units": "0",
    "precursor_tolerance_type": "1",
    "isotope_error": "0",
    "precursor_charge": "2 3",
    "output_txtfile": "1",
    "output_pepxmlfile": "0",
    "output_sqtfile": "0",
    "num_output_lines": "1",
}


def write_database(folder):
    rng = random.Random(19)
    residues = "ACDEFGHIKLMNPQRSTVWY"
    with open(os.path.join(folder, PARAMETERS["database_name"]), "w") as fasta:
        fasta.write(">iRT_peptides\n" + "".join(IRT_PEPTIDES) + "\n")
        for number in range(RANDOM_PROTEINS):
            sequence = "".join(rng.choice(residues) for _ in range(PROTEIN_LENGTH))
            fasta.write(f">random_{number:03d}\n{sequence}\n")


def write_parameters(folder):
    subprocess.run(["comet-ms", "-p"], cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    with open(os.path.join(folder, "comet.params.new")) as f:
        text = f.read()
    for key, value in PARAMETERS.items():
        text, count = re.subn(rf"^{key} = [^#\n]*", f"{key} = {value} ", text, flags=re.M)
        if count != 1:
            raise SystemExit(f"comet.params has no single '{key}'")
    with open(os.path.join(folder, "comet.params"), "w") as f:
        f.write(text)


def search(folder, spectra, name):
    """Top hit per (scan, charge): (peptide, neutral mass of the query)."""
    result = subprocess.run(["comet-ms", "-Pcomet.params", f"-N{name}", os.path.abspath(spectra)], cwd=folder,
                            stdin=subprocess.DEVNULL, capture_output=True, text=True)
    output = os.path.join(folder, name + ".txt")
    if result.returncode == 0 and "no spectra searched" in result.stdout:
        return {}, 0  # none within the searched charges and masses: no output file
    if result.returncode != 0 or not os.path.exists(output):
        raise SystemExit(f"comet-ms on {spectra} failed ({result.returncode}): {result.stdout[-600:]}{result.stderr[-600:]}")
    hits = {}
    with open(output) as f:
        next(f)  # version line
        columns = next(f).rstrip("\n").split("\t")
        for line in f:
            row = dict(zip(columns, line.rstrip("\n").split("\t")))
            hits[(int(row["scan"]), int(row["charge"]))] = (row["plain_peptide"], row["exp_neutral_mass"])
    loaded = re.search(r"Load spectra: (\d+)", result.stdout)
    return hits, int(loaded.group(1)) if loaded else 0


# Comet's neutral mass of a query from the MGF's PEPMASS, written with six
# decimals, and from the mzML's double agree to this (Da).
MASS_TOLERANCE = 0.001


def same_hit(a, b):
    """The same top peptide for the same precursor neutral mass."""
    if a is None or b is None:
        return a is b
    return a[0] == b[0] and abs(float(a[1]) - float(b[1])) <= MASS_TOLERANCE


def main():
    mzml, mgf, folder = sys.argv[1:4]
    os.makedirs(folder, exist_ok=True)
    write_database(folder)
    write_parameters(folder)
    mzml_hits, mzml_spectra = search(folder, mzml, "mzml")
    mgf_hits, mgf_spectra = search(folder, mgf, "mgf")
    differences = []
    for key in sorted(set(mzml_hits) | set(mgf_hits)):
        if not same_hit(mzml_hits.get(key), mgf_hits.get(key)):
            differences.append(f"scan {key[0]} charge {key[1]}: mzML {mzml_hits.get(key)}, MGF {mgf_hits.get(key)}")
    for line in differences[:SHOWN]:
        print(line)
    print(f"comet: {mzml_spectra} spectra loaded from the mzML, {mgf_spectra} from the MGF; "
          f"{len(mzml_hits)} and {len(mgf_hits)} top hits; {len(differences)} differ")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
