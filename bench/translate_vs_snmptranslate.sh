#!/usr/bin/env bash
# Cold-process lookup: `qlmib translate ifInOctets` against net-snmp's
# `snmptranslate -On IF-MIB::ifInOctets`, each started N times, in one run.
#   bench/translate_vs_snmptranslate.sh [BUILD_DIR] [QLMIB_HOME] [N]
# QLMIB_HOME defaults to the generated 200,000-row benchmark database;
# snmptranslate loads IF-MIB and its imports from ../shared/mibs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
home=${2:-}
n=${3:-200}
mibs=$(cd ../shared/mibs 2>/dev/null && pwd) || { echo "skipped: ../shared/mibs is absent" >&2; exit 0; }
command -v snmptranslate >/dev/null || { echo "snmptranslate is missing (package snmp)" >&2; exit 1; }

if [[ -z $home ]]; then
  home=${TMPDIR:-/tmp}/qlmib-bench-home
  mkdir -p "$home"
  "$build/bin/make_bench_db" "$home"
fi

qlmib=("$build/bin/qlmib" --home "$home" translate ifInOctets)
net=(snmptranslate -M "$mibs" -m IF-MIB -On IF-MIB::ifInOctets)
"${qlmib[@]}" | grep -q '^1.3.6.1.2.1.2.2.1.10	' || { echo "qlmib gave a wrong answer" >&2; exit 1; }
[[ $("${net[@]}") == .1.3.6.1.2.1.2.2.1.10 ]] || { echo "snmptranslate gave a wrong answer" >&2; exit 1; }

time_runs() {
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < n; i++)); do "$@" >/dev/null; done
  end=$(date +%s%N)
  echo $(((end - start) / n / 1000))
}
ours=$(time_runs "${qlmib[@]}")
theirs=$(time_runs "${net[@]}")
echo "qlmib translate:  ${ours} us per process"
echo "snmptranslate:    ${theirs} us per process"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "ratio qlmib/snmptranslate: %.3f\n", a / b }'
