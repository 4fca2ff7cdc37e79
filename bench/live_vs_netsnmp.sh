#!/usr/bin/env bash
# qlmib's live commands (walk, table) against net-snmp's tools on one loopback
# snmpd, configured as the live tests configure theirs. Like with like: each
# side is a cold process that loads the same MIBs (the shared corpus
# ../shared/mibs, which has the HOST-RESOURCES-MIB that the default database
# lacks; qlmib reads it built into a temporary database) and prints every
# instance with its name and rendered value; walks use 10 repetitions per bulk
# request on both sides (qlmib's default setting, read from an empty settings
# folder). Each pair runs alternately RUNS times (default 9), and
# bench/interleaved_runs.py prints the medians of wall and CPU time, their
# ratios (qlmib / net-snmp) and the lines each side printed.
set -euo pipefail
cd "$(dirname "$0")/.."

qlmib=${QLMIB:-build/bin/qlmib}
corpus=$(cd ../shared/mibs 2>/dev/null && pwd) || { echo "bench: the MIB corpus ../shared/mibs is absent" >&2; exit 1; }
[[ -x $qlmib ]] || { echo "bench: $qlmib is missing: build the project first" >&2; exit 1; }
for tool in snmpd snmpget snmpbulkwalk snmpwalk snmptable python3; do
  command -v "$tool" >/dev/null || [[ -x /usr/sbin/$tool ]] || { echo "bench: $tool is missing" >&2; exit 1; }
done
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

# compare TITLE -- QLMIB ARGS... -- NET-SNMP COMMAND...: the two in turn, RUNS rounds.
compare() {
  local title=$1; shift 2
  local ours=()
  while [[ $1 != -- ]]; do ours+=("$1"); shift; done
  shift
  echo "$title"
  python3 bench/interleaved_runs.py "$runs" "$work" \
    qlmib "$qlmib" --home "$work" "${ours[@]}" :: net-snmp "$@"
}

start_agent
mkdir -p "$work/config"
export QLMIB_CONFIG_HOME=$work/config
"$qlmib" build-db -o "$work/MIBs.cfg" -p "$corpus" "$corpus"/* >/dev/null 2>&1 ||
  { echo "bench: qlmib build-db of the corpus failed" >&2; exit 1; }
corpus_mibs=(-M "$corpus" -m ALL)

echo "agent snmpd at $agent; MIBs: the corpus ($corpus); medians of $runs alternating runs"
compare "walk -v 2c 1 / snmpbulkwalk -Cr10" -- walk -v 2c --cols 1,10 "$agent" 1 -- \
  snmpbulkwalk -v2c -c public -Cr10 "${corpus_mibs[@]}" "$agent" .1
compare "walk -v 3 authPriv 1 / snmpbulkwalk -v3 -Cr10" -- \
  walk -v 3 -u bench -l authPriv -a SHA-256 -A "$v3_auth" -x AES -X "$v3_priv" --cols 1,10 "$agent" 1 -- \
  snmpbulkwalk -v3 -u bench -l authPriv -a SHA-256 -A "$v3_auth" -x AES -X "$v3_priv" -Cr10 "${corpus_mibs[@]}" "$agent" .1
compare "walk -v 1 1 / snmpwalk -v1" -- walk -v 1 --cols 1,10 "$agent" 1 -- \
  snmpwalk -v1 -c public "${corpus_mibs[@]}" "$agent" .1
compare "table ifTable / snmptable" -- table "$agent" ifTable -- \
  snmptable -v2c -c public "${corpus_mibs[@]}" "$agent" IF-MIB::ifTable
compare "table hrSWRunTable / snmptable" -- table "$agent" hrSWRunTable -- \
  snmptable -v2c -c public "${corpus_mibs[@]}" "$agent" HOST-RESOURCES-MIB::hrSWRunTable
