#!/usr/bin/env bash
# build-db of the whole ../shared/mibs-vendor corpus (compile and import)
# against `smidump -f tree` run once per file over the same files, both on
# every core (smidump through xargs -P), in interleaved rounds because the
# machine may be shared; then the parent's peak memory against the finished
# database. Last, the corpus without its one file that crashes libsmi
# (meru/MERU-WLAN-MIB.my) against the whole corpus with a second crashing file
# (found by fuzzing) added in the middle: the databases must be the same.
#   bench/vendor_build_vs_smidump.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-3}
vendor=$(cd ../shared/mibs-vendor 2>/dev/null && pwd) || { echo "../shared/mibs-vendor is absent" >&2; exit 1; }
command -v smidump >/dev/null || { echo "smidump is missing (package smitools)" >&2; exit 1; }
[[ -x $build/bin/qlmib ]] || { echo "$build/bin/qlmib is missing: build the project first" >&2; exit 1; }
crash=tests/compiler/data/libsmi-crash.mib
[[ -f $crash ]] || { echo "$crash is missing" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
mapfile -t files < <(find "$vendor" -type f | sort)
cores=$(nproc)
smipath=$(find "$vendor" -mindepth 1 -maxdepth 1 -type d | sort | paste -sd:)

ours() { "$build/bin/qlmib" build-db --force -o "$out/built.cfg" "$@" >"$out/ours.log" 2>&1 || true; }
theirs() {
  printf '%s\0' "${files[@]}" |
    SMIPATH=$smipath xargs -0 -n1 -P"$cores" sh -c 'smidump -k -f tree "$0" >/dev/null 2>&1 || true'
}
millis() {
  local start
  start=$(date +%s%N)
  "$@"
  echo $((($(date +%s%N) - start) / 1000000))
}

echo "${#files[@]} files, $cores cores, $rounds interleaved rounds"
total_ours=0 total_theirs=0
for ((r = 1; r <= rounds; r++)); do
  a=$(millis ours "${files[@]}")
  b=$(millis theirs)
  total_ours=$((total_ours + a)) total_theirs=$((total_theirs + b))
  echo "round $r: qlmib build-db ${a} ms, smidump -f tree per file ${b} ms"
done
awk -v a="$total_ours" -v b="$total_theirs" 'BEGIN { printf "ratio qlmib/smidump: %.2f (target <= 1.00)\n", a / b }'

# The parent's peak resident memory, read from /proc while it runs.
"$build/bin/qlmib" build-db --force -o "$out/built.cfg" "${files[@]}" >"$out/ours.log" 2>&1 &
pid=$!
peak=0
while kill -0 "$pid" 2>/dev/null; do
  hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
  [[ -n $hwm && $hwm -gt $peak ]] && peak=$hwm
  sleep 0.05
done
wait "$pid" || true
size=$(($(stat -c %s "$out/built.cfg") / 1024))
awk -v p="$peak" -v s="$size" 'BEGIN { printf "parent peak %d KiB, database %d KiB: %.2fx (target <= 2.00)\n", p, s, p / s }'

# Without the corpus's crashing file, then with it and another in the middle.
mapfile -t clean < <(printf '%s\n' "${files[@]}" | grep -v '/MERU-WLAN-MIB.my$')
ours "${clean[@]}"
cp "$out/built.cfg" "$out/clean.cfg"
half=$((${#files[@]} / 2))
ours "${files[@]:0:half}" "$crash" "${files[@]:half}"
echo "skipped in the build with crashing files:"
sed -n '/^Modules libsmi could not read:/,/^[A-Z]/p' "$out/ours.log" | grep '^  ' || echo "  none"
dump() {
  sqlite3 "$1" "SELECT OID, Name, MIB, ParentOID, \"Index\", \"Primary\", TypeI, TypeS, Status, Access, Enum
                FROM Tree ORDER BY MIB, Name, OID; SELECT * FROM Enums ORDER BY 1, 2, 3;
                SELECT Name, Description, LastUpdated FROM MIBs ORDER BY Name; SELECT * FROM Types ORDER BY 1"
}
if cmp -s <(dump "$out/clean.cfg") <(dump "$out/built.cfg"); then
  echo "with the crashing files added: the same database as without them"
else
  echo "with the crashing files added: the databases differ" >&2
  diff <(dump "$out/clean.cfg") <(dump "$out/built.cfg") | head >&2
  exit 1
fi
