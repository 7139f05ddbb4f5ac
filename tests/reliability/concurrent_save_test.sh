#!/usr/bin/env bash
# Two "tavlo-cli patch" runs on one fresh firmware file at the same moment, many times over. Of
# each pair at most one may succeed: the other finds the file changed by the first (exit 3,
# naming the change) or its message already patched away (exit 1). After every pair:
#   - the file holds the original bytes, or exactly the bytes of the one save that succeeded;
#   - a backup exists only when a save succeeded, and holds the bytes that save read: the
#     original;
#   - no temporary file ("<name>.tavlo-*") is left in the folder.
#
#   concurrent_save_test.sh TAVLO_CLI [PAIRS]      (default: 100 pairs)
#
# TAVLO_CLI_RUNNER, when set, is the command that starts the program (cmake/wine-run.sh for
# tavlo-cli.exe).
set -uo pipefail

cli=${1:?usage: concurrent_save_test.sh TAVLO_CLI [PAIRS]}
pairs=${2:-100}
[[ -x "$cli" ]] || { echo "not an executable: $cli" >&2; exit 2; }
read -r -a runner <<<"${TAVLO_CLI_RUNNER:-}"

work=$(mktemp -d "${TMPDIR:-/tmp}/tavlo-concurrent-XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
file=$work/unit.rgn
backup=$work/unit.bak

# 256 KiB of random bytes with the message in the middle; the owner texts do not hold the search
# text, so a run that reads a file already patched finds nothing to patch.
head -c $((256 * 1024)) /dev/urandom | tr -d 'W' >"$work/original"
printf 'WARNING: do not remove the batteries while the unit is on\0' |
    dd of="$work/original" bs=1 seek=100007 conv=notrunc status=none
for text in AAAA BBBB; do
    cp "$work/original" "$file"
    "${runner[@]}" "$cli" patch "$file" --search WARNING --text "$text" --no-backup >/dev/null ||
        { echo "cannot prepare the patched files" >&2; exit 1; }
    cp "$file" "$work/patched_$text"
done

failures=0
fail() {
    echo "pair $1: $2" >&2
    failures=$((failures + 1))
}

both=0
one=0
changed=0
start=$(date +%s%N)
for ((pair = 1; pair <= pairs; ++pair)); do
    rm -f "$backup"
    cp "$work/original" "$file"
    "${runner[@]}" "$cli" patch "$file" --search WARNING --text AAAA >/dev/null 2>"$work/err_A" &
    a=$!
    "${runner[@]}" "$cli" patch "$file" --search WARNING --text BBBB >/dev/null 2>"$work/err_B" &
    b=$!
    wait "$a"
    status_A=$?
    wait "$b"
    status_B=$?

    winner=""
    if ((status_A == 0 && status_B == 0)); then
        both=$((both + 1))
        fail "$pair" "both saves exited 0"
    elif ((status_A == 0)); then
        winner=AAAA loser=B
    elif ((status_B == 0)); then
        winner=BBBB loser=A
    else
        fail "$pair" "neither save succeeded ($status_A, $status_B): $(cat "$work/err_A" "$work/err_B")"
    fi
    if [[ -n "$winner" ]]; then
        one=$((one + 1))
        status_var=status_$loser
        case ${!status_var} in
        1) ;;  # it read the file after the first save: no message left to patch
        3)
            changed=$((changed + 1))
            grep -q "was changed or replaced on disk" "$work/err_$loser" ||
                fail "$pair" "the losing save did not name the change: $(cat "$work/err_$loser")"
            ;;
        *) fail "$pair" "the losing save exited ${!status_var}: $(cat "$work/err_$loser")" ;;
        esac
        cmp -s "$file" "$work/patched_$winner" || fail "$pair" "the file is not what the winner wrote"
        cmp -s "$backup" "$work/original" || fail "$pair" "the backup is not the bytes the winner read"
    fi
    leftovers=$(find "$work" -maxdepth 1 -name '*.tavlo-*' -printf '%f ')
    [[ -z "$leftovers" ]] || fail "$pair" "temporary files left: $leftovers"
done
took_ms=$((($(date +%s%N) - start) / 1000000))

echo "pairs: $pairs; one save succeeded: $one (the other found the file changed: $changed);" \
    "both succeeded: $both; $took_ms ms"
if ((failures > 0)); then
    echo "$failures failed checks" >&2
    exit 1
fi
