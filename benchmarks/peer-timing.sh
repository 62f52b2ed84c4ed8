# Sourced by the peer-comparison scripts: whole-process timings of ours against a peer, taken in
# turn (ours, peer, ours, peer, …) so that both see the same machine, reported as medians.

# Wall time of one run of a command (or shell function) in microseconds; its output is dropped.
run_us() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

# The median of the numbers given.
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# alternate RUNS OURS PEER: one uncounted run of each, then RUNS pairs (at least five are used).
# Prints "ours_ms peer_ms ratio": the two medians and the median of the per-pair ratios peer ÷ ours.
alternate() {
    local runs=$(($1 < 5 ? 5 : $1)) ours=$2 peer=$3
    local o p ours_ms=() peer_ms=() ratios=()
    "$ours" >/dev/null 2>&1 || true
    "$peer" >/dev/null 2>&1 || true
    for _ in $(seq "$runs"); do
        o=$(run_us "$ours")
        p=$(run_us "$peer")
        ours_ms+=("$(awk -v t="$o" 'BEGIN { print t / 1000 }')")
        peer_ms+=("$(awk -v t="$p" 'BEGIN { print t / 1000 }')")
        ratios+=("$(awk -v a="$p" -v b="$o" 'BEGIN { print (b > 0 ? a / b : 0) }')")
    done
    printf '%.1f %.1f %.2f\n' "$(median "${ours_ms[@]}")" "$(median "${peer_ms[@]}")" "$(median "${ratios[@]}")"
}

# The median real time in milliseconds of a Google Benchmark run with repetitions, read from its
# CSV output: the row whose name starts with NAME and ends in "_median".
inprocess_ms() { # CSV_FILE NAME
    awk -F, -v name="$2" '
        index($1, "\"" name) == 1 && $1 ~ /_median"$/ {
            t = $3; u = $5; gsub(/"/, "", u)
            if (u == "us") t /= 1000; if (u == "ns") t /= 1000000; if (u == "s") t *= 1000
            printf "%.2f", t; exit }' "$1"
}

machine_note() {
    echo "$(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"
}
