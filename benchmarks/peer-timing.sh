# Sourced by the peer-comparison scripts: time_it LABEL COMMAND... prints the command's wall time.
time_it() {
    local label=$1
    shift
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo "$label: $(((end - start) / 1000000)) ms"
}
