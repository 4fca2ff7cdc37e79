#!/usr/bin/env bash
# The whole ../shared/mibs corpus against libsmi's own `smidump -f xml` over
# the same files, each in one process, N runs of each:
#   qlmib compile   MIB text to one MIB-X file per module
#   qlmib import    those MIB-X files into a new database (import alone)
#   qlmib build-db  compile and import together, as the set-up does
#   bench/corpus_vs_smidump.sh [BUILD_DIR] [N]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
n=${2:-20}
mibs=$(cd ../shared/mibs 2>/dev/null && pwd) || { echo "bench: the MIB corpus ../shared/mibs is absent" >&2; exit 1; }
command -v smidump >/dev/null || { echo "smidump is missing (package smitools)" >&2; exit 1; }
[[ -x $build/bin/qlmib ]] || { echo "$build/bin/qlmib is missing: build the project first" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
files=("$mibs"/*)

ours=("$build/bin/qlmib" compile -p "$mibs" -o "$out/mibx" "${files[@]}")
theirs=(env SMIPATH="$mibs" smidump -k -f xml "${files[@]}")
"${ours[@]}" >"$out/ours.log" || { echo "qlmib compile failed:" >&2; cat "$out/ours.log" >&2; exit 1; }
written=$(grep -c ': written ' "$out/ours.log")
[[ $written -eq ${#files[@]} ]] || { echo "qlmib wrote $written of ${#files[@]} modules" >&2; exit 1; }
documents=$("${theirs[@]}" 2>/dev/null | grep -c '<smi ')
[[ $documents -eq ${#files[@]} ]] || { echo "smidump dumped $documents of ${#files[@]} modules" >&2; exit 1; }

time_runs() {
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < n; i++)); do "$@" >/dev/null 2>&1; done
  end=$(date +%s%N)
  echo $(((end - start) / n / 1000))
}
fresh_import() {
  rm -f "$out/home/MIBs.cfg"
  "$build/bin/qlmib" --home "$out/home" import "$out"/mibx/*.mibx
}
build_db=("$build/bin/qlmib" build-db --force -o "$out/built.cfg" -p "$mibs" "${files[@]}")
mkdir -p "$out/home"
fresh_import | tail -1 | grep -q 'Errors 0,' || { echo "qlmib import reported errors" >&2; exit 1; }

compile_us=$(time_runs "${ours[@]}")
import_us=$(time_runs fresh_import)
build_us=$(time_runs "${build_db[@]}")
theirs_us=$(time_runs "${theirs[@]}")
echo "modules:          ${#files[@]}"
echo "qlmib compile:    ${compile_us} us per run"
echo "qlmib import:     ${import_us} us per run (import alone, new database)"
echo "qlmib build-db:   ${build_us} us per run (compile + import)"
echo "smidump -f xml:   ${theirs_us} us per run"
awk -v c="$compile_us" -v i="$import_us" -v b="$build_us" -v s="$theirs_us" 'BEGIN {
  printf "ratio compile/smidump:  %.3f\n", c / s
  printf "ratio import/smidump:   %.3f\n", i / s
  printf "ratio build-db/smidump: %.3f\n", b / s
}'
