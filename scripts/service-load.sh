#!/usr/bin/env bash
# Puts quillet-service under load with wrk: fetches and saves at 1, 8, 64 and 256 keep-alive
# connections and with a new connection per request, then checks that every bank the saves sent
# is stored with its words. Given a second service program (an older build), both run, one case
# after the other, so that the machine's noise falls on both alike.
# Prints requests per second, median and 99th percentile latency and errors per case; exits
# non-zero after any error, wrong answer or missing bank.
set -euo pipefail

usage() {
    echo "usage: $0 [--duration SECONDS] BUILD_DIR [BASELINE_SERVICE_BINARY]" >&2
    exit 2
}

duration=5
while [ $# -gt 0 ]; do
    case "$1" in
    --duration)
        [ $# -ge 2 ] || usage
        duration="$2"
        shift 2
        ;;
    -*) usage ;;
    *) break ;;
    esac
done
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    usage
fi

build="$1"
baseline="${2:-}"
here="$(cd "$(dirname "$0")" && pwd)"
helper="$build/bin/quillet-service-load-bodies"
lua="$here/service-load.lua"

keep_alive_connections=(1 8 64 256)
close_connections=(8 64)
wrk_threads=2
# A request unanswered this long counts as a timeout; the run goes on.
wrk_timeout=5s
# Saves go round this many banks, 100 to an owner; fetches round this many saved banks, enough
# that every wrk thread has more banks than connections.
save_banks=4000
fetch_banks=512

if ! command -v wrk >/dev/null; then
    "$here/install-deps.sh" bench
fi
required=("$build/bin/quillet-service" "$helper")
if [ -n "$baseline" ]; then
    required+=("$baseline")
fi
for binary in "${required[@]}"; do
    if [ ! -x "$binary" ]; then
        echo "$0: $binary is missing; build it first (make service-load does)" >&2
        exit 1
    fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/quillet-service-load.XXXXXX")"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

names=(candidate)
declare -A program=([candidate]="$build/bin/quillet-service")
if [ -n "$baseline" ]; then
    names+=(baseline)
    program[baseline]="$baseline"
fi
declare -A url pid

# Starts a service program on a free loopback port with a fresh database.
start_service() {
    local name="$1" dir="$work/$1"
    mkdir -p "$dir"
    : >"$dir/service.log"
    # The load comes from one address, with more connections and far more saves than one client
    # may make; a build with limits per address is given room for it (an older one has no flags).
    local room=() usage
    usage="$("${program[$name]}" --help 2>&1 || true)"
    if [[ $usage == *--saves-per-minute* ]]; then
        room+=(--saves-per-minute 1000000000)
    fi
    if [[ $usage == *--connections-per-client* ]]; then
        room+=(--connections-per-client 1024)
    fi
    "${program[$name]}" --listen 127.0.0.1:0 --db "$dir/banks.db" "${room[@]}" 2>"$dir/service.log" &
    pid[$name]=$!
    pids+=($!)
    for _ in $(seq 100); do
        local port
        port="$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9][0-9]*\).*/\1/p' "$dir/service.log")"
        if [ -n "$port" ]; then
            url[$name]="http://127.0.0.1:$port"
            return
        fi
        sleep 0.1
    done
    echo "$0: ${program[$name]} did not start:" >&2
    cat "$dir/service.log" >&2
    exit 1
}

failed=0
declare -A row_of

# One wrk run against one service; adds a row to the table.
run_case() {
    local name="$1" operation="$2" connections="$3" mode="$4"
    local dir="$work/$name" key="$operation $connections $mode $name"
    local out="$dir/$operation-$connections-$mode.out"
    local threads=$((connections < wrk_threads ? connections : wrk_threads))
    local answers="$dir/fetch-answers.txt" headers=() label="$connections"
    if [ "$operation" = save ]; then
        answers="$dir/save-answer.txt"
    fi
    if [ "$mode" = close ]; then
        headers=(-H "Connection: close")
        label="$connections close"
    fi
    echo "$name: $operation, $label connections" >&2

    if ! kill -0 "${pid[$name]}" 2>/dev/null; then
        row_of[$key]="$name|$operation|$label|-|-|-|service not running"
        failed=1
        return
    fi
    wrk -t "$threads" -c "$connections" -d "${duration}s" --timeout "$wrk_timeout" \
        "${headers[@]}" -s "$lua" "${url[$name]}" \
        -- "$operation" "$dir/$operation-bodies.txt" "$answers" "$threads" >"$out" 2>&1 || true
    local result
    result="$(grep '^result ' "$out" || true)"
    if [ -z "$result" ]; then
        row_of[$key]="$name|$operation|$label|-|-|-|wrk failed: $(tail -n 1 "$out")"
        failed=1
        return
    fi
    local requests micros connect read write status timeout wrong p50 p99
    read -r _ requests micros connect read write status timeout wrong p50 p99 <<<"$result"
    local errors=$((connect + read + write + status + timeout + wrong))
    local detail=""
    for kind in connect read write status timeout wrong; do
        if [ "${!kind}" -gt 0 ]; then
            detail+=" $kind ${!kind}"
        fi
    done
    if [ "$errors" -gt 0 ]; then
        failed=1
        detail=" (${detail# })"
    fi
    grep '^sample ' "$out" | sed "s/^sample /$name: wrong answer: /" >&2 || true
    if [ "$operation" = save ]; then
        grep '^issued ' "$out" >>"$dir/sent.txt"
    fi
    row_of[$key]="$(awk -v n="$name" -v o="$operation" -v c="$label" -v r="$requests" -v us="$micros" \
        -v p50="$p50" -v p99="$p99" -v e="$errors$detail" \
        'BEGIN { printf "%s|%s|%s|%.0f|%.2f|%.2f|%s", n, o, c, r / (us / 1e6), p50 / 1e3,
                 p99 / 1e3, e }')"
}

for name in "${names[@]}"; do
    start_service "$name"
    echo "$name: ${program[$name]} on ${url[$name]}" >&2
    if ! "$helper" prepare "${url[$name]}" "$work/$name" "$save_banks" "$fetch_banks"; then
        echo "$0: the banks for the fetches could not be saved on $name" >&2
        exit 1
    fi
done

cases=()
for operation in fetch save; do
    for connections in "${keep_alive_connections[@]}"; do
        cases+=("$operation $connections keep-alive")
    done
    for connections in "${close_connections[@]}"; do
        cases+=("$operation $connections close")
    done
done
# Which program goes first changes from case to case.
order=("${names[@]}")
for entry in "${cases[@]}"; do
    read -r operation connections mode <<<"$entry"
    for name in "${order[@]}"; do
        run_case "$name" "$operation" "$connections" "$mode"
    done
    order=("${order[@]:1}" "${order[0]}")
done

checks=()
for name in "${names[@]}"; do
    touch "$work/$name/sent.txt"
    if ! verdict="$(timeout 600 "$helper" verify "${url[$name]}" "$work/$name" \
        "$work/$name/sent.txt")"; then
        failed=1
    fi
    checks+=("$name: saved banks ${verdict:-not checked}")
    if ! kill -0 "${pid[$name]}" 2>/dev/null; then
        checks+=("$name: the service ended during the run; its log ends:")
        checks+=("$(tail -n 5 "$work/$name/service.log")")
        failed=1
    fi
done

echo
echo "wrk ${duration}s per case, $wrk_threads threads, timeout $wrk_timeout;" \
    "\"N close\": a new connection for every request"
for name in "${names[@]}"; do
    echo "$name: ${program[$name]}"
done
{
    echo "binary|operation|connections|requests/s|p50 ms|p99 ms|errors"
    for entry in "${cases[@]}"; do
        for name in "${names[@]}"; do
            echo "${row_of[$entry $name]}"
        done
    done
} | awk -F '|' '{ printf "%-10s %-9s %-12s %10s %9s %9s  %s\n", $1, $2, $3, $4, $5, $6, $7 }'
printf '%s\n' "${checks[@]}"
exit "$failed"
