#!/usr/bin/env bash
# A cold `qlmib translate ifInOctets` on a database of 200,000 objects
# against the process floor (`qlmib --version`: start-up and exit alone), and
# net-snmp's `snmptranslate` of the same object with IF-MIB and its imports
# loaded from ../shared/mibs, in turn N rounds (default 51); ratios are to
# the floor.
#   bench/translate_vs_snmptranslate.sh [BUILD_DIR] [QLMIB_HOME] [N]
# QLMIB_HOME defaults to the generated benchmark database.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
home=${2:-}
n=${3:-51}
mibs=$(cd ../shared/mibs 2>/dev/null && pwd) || { echo "bench: the MIB corpus ../shared/mibs is absent" >&2; exit 1; }
command -v snmptranslate >/dev/null || { echo "bench: snmptranslate is missing (package snmp)" >&2; exit 1; }
command -v python3 >/dev/null || { echo "bench: python3 is missing" >&2; exit 1; }
[[ -x $build/bin/qlmib ]] || { echo "bench: $build/bin/qlmib is missing: build the project first" >&2; exit 1; }

if [[ -z $home ]]; then
  [[ -x $build/bin/make_bench_db ]] || { echo "bench: $build/bin/make_bench_db is missing" >&2; exit 1; }
  home=${TMPDIR:-/tmp}/qlmib-bench-home
  mkdir -p "$home"
  "$build/bin/make_bench_db" "$home"
fi
[[ -f $home/MIBs.cfg ]] || { echo "bench: $home/MIBs.cfg is missing" >&2; exit 1; }

qlmib=("$build/bin/qlmib" --home "$home" translate ifInOctets)
net=(snmptranslate -M "$mibs" -m IF-MIB -Of IF-MIB::ifInOctets)
"${qlmib[@]}" | grep -q '^1.3.6.1.2.1.2.2.1.10	' || { echo "bench: qlmib gave a wrong answer" >&2; exit 1; }
[[ $("${net[@]}") == *.ifTable.ifEntry.ifInOctets ]] || { echo "bench: snmptranslate gave a wrong answer" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
echo "cold processes, medians of $n rounds; database $home/MIBs.cfg"
python3 bench/interleaved_runs.py "$n" "$out" \
  "qlmib translate" "${qlmib[@]}" :: snmptranslate "${net[@]}" :: "qlmib --version" "$build/bin/qlmib" --version
