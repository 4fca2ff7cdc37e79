#!/usr/bin/env bash
# qlmib's live commands (walk, table) against net-snmp's tools on one loopback
# snmpd, configured as the live tests configure theirs. Each pair of commands
# runs alternately RUNS times (default 9); the line per pair gives the
# medians, their ratio (qlmib / net-snmp) and qlmib's OIDs per second.
#
# MIB database: the shared corpus (../shared/mibs, which has the
# HOST-RESOURCES-MIB that the default database lacks), built into a temporary
# folder. net-snmp's tools get either no MIBs and numeric OIDs (-m '' -On) or
# the same corpus (-M corpus -m ...), as each line says.
set -euo pipefail
cd "$(dirname "$0")/.."

qlmib=${QLMIB:-build/bin/qlmib}
corpus=$(cd ../shared/mibs 2>/dev/null && pwd) || { echo "bench: the MIB corpus ../shared/mibs is absent" >&2; exit 1; }
runs=${RUNS:-9}
work=$(mktemp -d)
agent_pid=
cleanup() {
  [[ -n $agent_pid ]] && kill "$agent_pid" 2>/dev/null && wait "$agent_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

free_udp_port() {
  python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# The SNMPv3 user of the authPriv walk (SHA-256, AES-128).
v3_auth=bench-auth-phrase v3_priv=bench-priv-phrase

start_agent() {
  mkdir -p "$work/agent/persist"
  cat > "$work/agent/snmpd.conf" <<EOF
rocommunity public 127.0.0.1
rwcommunity private 127.0.0.1
sysName qlmib-bench-agent
createUser bench SHA-256 $v3_auth AES $v3_priv
rouser bench priv
dontLogTCPWrappersConnects yes
EOF
  port=$(free_udp_port)
  agent=127.0.0.1:$port
  SNMPCONFPATH=$work/agent SNMP_PERSISTENT_DIR=$work/agent/persist MIBS= MIBDIRS= \
    /usr/sbin/snmpd -f -Lf "$work/agent/log" -C -c "$work/agent/snmpd.conf" -I -smux "udp:$agent" &
  agent_pid=$!
  for _ in $(seq 100); do
    snmpget -v2c -c public -m '' -t 0.1 -r 0 "$agent" .1.3.6.1.2.1.1.3.0 >/dev/null 2>&1 && return
    sleep 0.1
  done
  echo "bench: snmpd did not come up" >&2
  exit 1
}

seconds() {  # seconds COMMAND...: runs it with its output in $work/out
  local start=$EPOCHREALTIME
  "$@" >"$work/out" 2>/dev/null
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.4f\n", b - a }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# compare NAME OIDS_OF_OUTPUT -- QLMIB ARGS... -- NET-SNMP COMMAND...
compare() {
  local name=$1 count=$2; shift 3
  local ours=() theirs=()
  while [[ $1 != -- ]]; do ours+=("$1"); shift; done
  shift
  theirs=("$@")
  : >"$work/ours.t"; : >"$work/theirs.t"
  for _ in $(seq "$runs"); do
    seconds "$qlmib" --home "$work" "${ours[@]}" >>"$work/ours.t"
    local oids; oids=$($count <"$work/out")
    seconds "${theirs[@]}" >>"$work/theirs.t"
  done
  local a b; a=$(median <"$work/ours.t"); b=$(median <"$work/theirs.t")
  awk -v n="$name" -v a="$a" -v b="$b" -v o="$oids" \
    'BEGIN { printf "%-34s qlmib %6.3f s  net-snmp %6.3f s  ratio %.2f  %6d OIDs  %7.0f OIDs/s\n", n, a, b, a / b, o, o / a }'
}

# OIDs in qlmib's output: walk lines after the header; table cells after the header row and index column.
walk_oids() { awk 'NR > 1' | wc -l; }
table_oids() { awk -F'\t' 'NR > 1 { for (i = 2; i <= NF; ++i) if ($i != "") ++n } END { print n + 0 }'; }

start_agent
"$qlmib" build-db -o "$work/MIBs.cfg" -p "$corpus" "$corpus"/* >/dev/null 2>&1

echo "agent snmpd at $agent; MIB database: the corpus ($corpus); medians of $runs runs"
compare "walk -v 2c 1 / snmpbulkwalk -On" walk_oids -- walk -v 2c --cols 0,1,9,10 "$agent" 1 -- \
  snmpbulkwalk -v2c -c public -m '' -On "$agent" .1
compare "walk -v 2c 1 / snmpbulkwalk MIBs" walk_oids -- walk -v 2c --cols 0,1,9,10 "$agent" 1 -- \
  snmpbulkwalk -v2c -c public -M "$corpus" -m ALL "$agent" .1
compare "walk -v 3 authPriv / snmpbulkwalk -On" walk_oids -- \
  walk -v 3 -u bench -l authPriv -a SHA-256 -A "$v3_auth" -x AES -X "$v3_priv" --cols 0,1,9,10 "$agent" 1 -- \
  snmpbulkwalk -v3 -u bench -l authPriv -a SHA-256 -A "$v3_auth" -x AES -X "$v3_priv" -m '' -On "$agent" .1
compare "walk -v 1 1 / snmpwalk -v1 -On" walk_oids -- walk -v 1 --cols 0,1,9,10 "$agent" 1 -- \
  snmpwalk -v1 -c public -m '' -On "$agent" .1
compare "table ifTable / snmptable" table_oids -- table "$agent" ifTable -- \
  snmptable -v2c -c public -M "$corpus" -m IF-MIB "$agent" IF-MIB::ifTable
compare "table hrSWRunTable / snmptable" table_oids -- table "$agent" hrSWRunTable -- \
  snmptable -v2c -c public -M "$corpus" -m HOST-RESOURCES-MIB "$agent" HOST-RESOURCES-MIB::hrSWRunTable
