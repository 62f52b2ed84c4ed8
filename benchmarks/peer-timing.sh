# Sourced by the benchmark scripts: whole-process timings of ours against a peer, taken in turn
# (ours, peer, ours, peer, …) so that both see the same machine, and in-process figures read from
# the Google Benchmark executables. Every figure is measured in two rounds: its median is the median
# of both, and a figure whose two rounds differ by more than 15 % says so ("MOVED").

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

# A number with three significant digits, or one decimal from 100 up.
fmt() { awk -v v="$1" 'BEGIN { a = v < 0 ? -v : v; printf (a >= 100 ? "%.1f" : a >= 10 ? "%.2f" : a >= 1 ? "%.3f" : "%.3g"), v }'; }

# "lowest–highest" of the numbers given: range NUMBER…
range() {
    local low high
    read -r low high < <(printf '%s\n' "$@" | sort -g | awk 'NR == 1 { low = $1 } { high = $1 } END { print low, high }')
    echo "$(fmt "$low")–$(fmt "$high")"
}

load1() { cut -d' ' -f1 /proc/loadavg; }

# " MOVED n % between rounds" when two medians of one figure differ by more than 15 %.
moved() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (a > 0 && b > 0) { d = (a > b ? a / b : b / a) - 1
        if (d > 0.15) printf " MOVED %.0f %% between rounds", 100 * d } }'
}

# alternate RUNS OURS PEER: two rounds, each of one uncounted run of each and then RUNS pairs (at
# least 7). Prints "ours_ms peer_ms ratio detail…": the medians over both rounds, the median of the
# per-pair ratios peer ÷ ours, then the ranges, each round's ratio and the load average before and after.
alternate() {
    local runs=$(($1 < 7 ? 7 : $1)) ours=$2 peer=$3
    local o p all_ours=() all_peer=() all_ratios=() round_ratio=() round_ours=() before
    before=$(load1)
    for _ in 1 2; do
        local ours_ms=() ratios=()
        "$ours" >/dev/null 2>&1 || true
        "$peer" >/dev/null 2>&1 || true
        for _ in $(seq "$runs"); do
            o=$(run_us "$ours")
            p=$(run_us "$peer")
            ours_ms+=("$(awk -v t="$o" 'BEGIN { print t / 1000 }')")
            all_peer+=("$(awk -v t="$p" 'BEGIN { print t / 1000 }')")
            ratios+=("$(awk -v a="$p" -v b="$o" 'BEGIN { print (b > 0 ? a / b : 0) }')")
        done
        round_ours+=("$(median "${ours_ms[@]}")")
        round_ratio+=("$(median "${ratios[@]}")")
        all_ours+=("${ours_ms[@]}")
        all_ratios+=("${ratios[@]}")
    done
    printf '%s %s %.2f ours %s ms, peer %s ms, ratio %s (%d pairs); rounds %.2f / %.2f; load %s→%s%s%s\n' \
        "$(fmt "$(median "${all_ours[@]}")")" "$(fmt "$(median "${all_peer[@]}")")" "$(median "${all_ratios[@]}")" \
        "$(range "${all_ours[@]}")" "$(range "${all_peer[@]}")" "$(range "${all_ratios[@]}")" \
        $((2 * runs)) "${round_ratio[0]}" "${round_ratio[1]}" "$before" "$(load1)" \
        "$(moved "${round_ratio[0]}" "${round_ratio[1]}")" "$(moved "${round_ours[0]}" "${round_ours[1]}")"
}

# start_share RUNS OURS_MS BINARY: how much of our whole-process median (OURS_MS) is the process's
# own start, `BINARY --start` (load the libraries, set up, exit) in turn with /bin/true.
start_share() {
    local runs=$1 ours_ms=$2 binary=$3 start true_ms rest
    started() { "$binary" --start; }
    nothing() { /bin/true; }
    read -r start true_ms _ rest < <(alternate "$runs" started nothing)
    printf 'process start %s ms (%s%% of ours; /bin/true %s ms)' "$start" \
        "$(awk -v s="$start" -v o="$ours_ms" 'BEGIN { printf "%.0f", (o > 0 ? 100 * s / o : 0) }')" "$true_ms"
}

# Page faults of one run of a command, as perf counts them (they do not depend on the load).
page_faults() { perf stat -x, -e page-faults "$@" 2>&1 >/dev/null | awk -F, '/page-faults/ { print $1 }'; }

# Peak resident memory of one run of a command, in MiB.
peak_mib() {
    /usr/bin/time -f '%M' -o /dev/fd/3 "$@" 3>&1 >/dev/null 2>/dev/null | awk '{ printf "%.1f", $1 / 1024 }'
}

# inprocess_runs RUNS CSV_PREFIX BINARY ARG…: runs a Google Benchmark executable twice (two rounds),
# each with at least RUNS repetitions, every repetition written to CSV_PREFIX.1 and CSV_PREFIX.2.
inprocess_runs() {
    local runs=$(($1 < 7 ? 7 : $1)) prefix=$2
    shift 2
    for round in 1 2; do
        "$@" --benchmark_repetitions="$runs" --benchmark_out="$prefix.$round" --benchmark_out_format=csv \
            >/dev/null 2>&1
    done
}

# inprocess CSV_PREFIX NAME [COLUMN]: "median ms (lowest–highest ms, n repetitions)" of a benchmark's
# real time in ms, or of one of its counters, over both rounds, flagged when the rounds differ.
inprocess() {
    local prefix=$1 name=$2 column=${3:-real_time} one two
    values() {
        awk -F, -v name="$name" -v column="$column" '
            /^name,/ { for (i = 1; i <= NF; ++i) { h = $i; gsub(/"/, "", h); if (h == column) c = i }; next }
            c && (index($1, "\"" name "/") == 1 || $1 == "\"" name "\"") && $1 !~ /_(mean|median|stddev|cv)"$/ {
                t = $c
                if (column == "real_time") { u = $5; gsub(/"/, "", u)
                    if (u == "us") t /= 1000; if (u == "ns") t /= 1000000; if (u == "s") t *= 1000 }
                print t }' "$1"
    }
    local first=() second=()
    mapfile -t first < <(values "$prefix.1")
    mapfile -t second < <(values "$prefix.2")
    one=$(median "${first[@]}")
    two=$(median "${second[@]}")
    printf '%s ms (%s ms, %d repetitions)%s' "$(fmt "$(median "${first[@]}" "${second[@]}")")" \
        "$(range "${first[@]}" "${second[@]}")" $((${#first[@]} + ${#second[@]})) "$(moved "$one" "$two")"
}

machine_note() {
    echo "$(nproc) cores; load average now $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"
}
