#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer) and
# runs each one for SECONDS seconds, starting from the seed corpus in tests/fuzz/corpus/<target>.
#   tools/run_fuzzers.sh SECONDS [TARGET...]
# Prints the executions and coverage each target reached and exits non-zero when any target
# crashed, leaked, timed out or broke one of its properties. The inputs that did so are kept in
# build/fuzz/artifacts/<target>/; the corpus grown by the run in build/fuzz/corpus/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -lt 1 || ! "$1" =~ ^[0-9]+$ || "$1" -eq 0 ]]; then
    echo "usage: $0 SECONDS [TARGET...]" >&2
    exit 2
fi
seconds=$1
shift

build=${TAVLO_FUZZ_BUILD_DIR:-build/fuzz}

# clang with libFuzzer and the sanitizer run-times.
packages=(clang libclang-rt-14-dev llvm cmake ninja-build)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# The engine alone, without Qt, the tests or the benchmarks.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DTAVLO_FUZZ=ON -DTAVLO_SANITIZE=ON \
    -DTAVLO_BUILD_GUI=OFF -DTAVLO_BUILD_TESTS=OFF -DTAVLO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzzers

targets=("$@")
if ((${#targets[@]} == 0)); then
    for binary in "$build"/bin/*_fuzz; do
        targets+=("$(basename "$binary")")
    done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Inputs larger than most seeds: a firmware image needs room for a glyph table (896 bytes) and
# its glyphs.
max_len() {
    case $1 in
        font_layout_fuzz) echo 16384 ;;
        *) echo 4096 ;;
    esac
}

failed=0
summary=()
for target in "${targets[@]}"; do
    name=${target%_fuzz}
    seeds=tests/fuzz/corpus/$name
    corpus=$build/corpus/$name
    artifacts=$build/artifacts/$name
    log=$build/logs/$target.log
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    echo "== $target: $seconds s"
    status=0
    # The outer timeout only catches a fuzzer that hangs outside its own time keeping.
    timeout --signal=KILL $((seconds + 120)) "$build/bin/$target" \
        -max_total_time="$seconds" -print_final_stats=1 -timeout=25 -rss_limit_mb=2560 \
        -max_len="$(max_len "$target")" -artifact_prefix="$artifacts/" \
        "$corpus" "$seeds" >"$log" 2>&1 || status=$?
    # libFuzzer's last status line: "#N DONE cov: C ft: F corp: ..."
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$done_line")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$done_line")
    corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$done_line")
    if ((status != 0)) || [[ -z "$done_line" ]]; then
        failed=1
        result="FAILED (exit status $status, log $log)"
        grep -E 'ERROR|property does not hold|SUMMARY|Test unit written' "$log" | head -n 20 || true
    else
        result=ok
    fi
    line="$target: ${executions:-?} executions, cov ${cov:-?}, ft ${ft:-?}, corpus ${corp:-?} inputs, ${seconds} s: $result"
    echo "$line"
    summary+=("$line")
done

echo "== fuzzing summary"
printf '%s\n' "${summary[@]}"
exit $failed
