#!/usr/bin/env bash
# Whole-corpus compile: `qlmib compile` writing one MIB-X file per module of
# ../shared/mibs, against libsmi's own `smidump -f xml` over the same files,
# each in one process, N runs of each.
#   bench/compile_vs_smidump.sh [BUILD_DIR] [N]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
n=${2:-20}
mibs=$(cd ../shared/mibs 2>/dev/null && pwd) || { echo "skipped: ../shared/mibs is absent" >&2; exit 0; }
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
ours_us=$(time_runs "${ours[@]}")
theirs_us=$(time_runs "${theirs[@]}")
echo "modules:          ${#files[@]}"
echo "qlmib compile:    ${ours_us} us per run"
echo "smidump -f xml:   ${theirs_us} us per run"
awk -v a="$ours_us" -v b="$theirs_us" 'BEGIN { printf "ratio qlmib/smidump: %.3f\n", a / b }'
