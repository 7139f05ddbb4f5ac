#!/usr/bin/env bash
# Kills "tavlo-cli patch" with SIGKILL at random moments while it saves a large firmware file,
# and checks after every kill that nothing the user had is lost:
#   - the file under its own name holds exactly the old bytes or exactly the new bytes;
#   - the old bytes are still there, under the file's name or its ".bak" name;
#   - a ".bak" that exists is a complete earlier version, never a part of one;
# then saves once more without interruption and checks that the result is right and that no
# temporary file ("<name>.tavlo-XXXXXX") is left in the folder.
#
#   crash_test.sh TAVLO_CLI [KILLS] [MEBIBYTES]      (defaults: 200 kills, a 32 MiB file)
#
# TAVLO_CLI_RUNNER, when set, is the command that starts the program (cmake/wine-run.sh for
# tavlo-cli.exe); a kill then ends the runner's process, which Wine's loader has become.
#
# The delays before the kills are spread evenly over the time a whole run takes, measured first;
# every fourth kill instead waits until the save's temporary file has appeared.
set -uo pipefail

cli=${1:?usage: crash_test.sh TAVLO_CLI [KILLS] [MEBIBYTES]}
kills=${2:-200}
mebibytes=${3:-32}
[[ -x "$cli" ]] || { echo "not an executable: $cli" >&2; exit 2; }
read -r -a runner <<<"${TAVLO_CLI_RUNNER:-}"

work=$(mktemp -d "${TMPDIR:-/tmp}/tavlo-crash-XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
file=$work/firmware.rgn
backup=$work/firmware.bak

# Two owner texts of the same length as the message, both starting with the search text, so
# every save turns one of two known files into the other.
search=WARNING
message="WARNING: This unit is not for sale. Improper use may damage it. Read the manual first!"
text_a="WARNING: this receiver belongs to Terry N. Owner, (555) 31122000. Reward \$\$\$ when returned"
text_b="WARNING: property of A. N. Other, t@example.org - please call (555) 2020 2020, thank you.."
length=${#message}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The files the saved copies are compared with: state_a holds text_a, state_b holds text_b.
make_states() {
    head -c $((mebibytes * 1024 * 1024)) /dev/urandom >"$work/original"
    # The message in the middle of the file, with its zero byte.
    printf '%s\0' "$message" |
        dd of="$work/original" bs=1 seek=$((mebibytes * 512 * 1024 + 7)) conv=notrunc status=none
    cp "$work/original" "$file"
    "${runner[@]}" "$cli" patch "$file" --search "$search" --text "$text_a" >/dev/null || return 1
    cp "$file" "$work/state_a"
    "${runner[@]}" "$cli" patch "$file" --search "$search" --text "$text_b" >/dev/null || return 1
    cp "$file" "$work/state_b"
    # The two states differ only inside the message.
    local differing
    differing=$(cmp -l "$work/state_a" "$work/state_b" | wc -l)
    ((differing > 0 && differing <= length))
}

same() { cmp -s "$1" "$2"; }

temporaries() { find "$work" -maxdepth 1 -name '*.tavlo-*' -printf '%f\n'; }

if ! make_states; then
    echo "cannot prepare the firmware files with $cli" >&2
    exit 1
fi

# The file now holds text_b. A whole run, timed three times; the quickest sets the span over
# which the kills are spread, so that they fall inside the save rather than after it.
current=b
run_ms=0
for _ in 1 2 3; do
    next=$([[ $current == a ]] && echo b || echo a)
    text_var=text_$next
    start=$(now_ms)
    "${runner[@]}" "$cli" patch "$file" --search "$search" --text "${!text_var}" >/dev/null || exit 1
    took=$(($(now_ms) - start + 1))
    ((run_ms == 0 || took < run_ms)) && run_ms=$took
    current=$next
done
echo "one save of a $mebibytes MiB file takes about $run_ms ms; $kills kills follow"

failures=0
fail() {
    echo "kill $1: $2" >&2
    failures=$((failures + 1))
}

survived=0
struck=0
kept_old=0
took_new=0
left_temporary=0
for ((kill = 1; kill <= kills; ++kill)); do
    old=$current
    new=$([[ $old == a ]] && echo b || echo a)
    text_var=text_$new
    delay_ms=$((RANDOM * 32768 + RANDOM))
    delay_ms=$((delay_ms % run_ms))
    moment="after $delay_ms ms"

    "${runner[@]}" "$cli" patch "$file" --search "$search" --text "${!text_var}" >/dev/null 2>"$work/stderr" &
    pid=$!
    if ((kill % 4 == 0)); then
        # Every fourth kill waits for the save's temporary file, so that a share of the kills
        # surely lands while the new contents are being written.
        moment="once its temporary file was there"
        for ((poll = 0; poll < run_ms && $(temporaries | wc -l) == 0; ++poll)); do
            sleep 0.001
        done
    else
        sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
    fi
    kill -KILL "$pid" 2>/dev/null
    # (Braces keep the shell's own "Killed" notice off the output.)
    { wait "$pid"; } 2>/dev/null
    status=$?
    ((status == 137)) && struck=$((struck + 1))

    ok=1
    if same "$file" "$work/state_$old"; then
        kept_old=$((kept_old + 1))
    elif same "$file" "$work/state_$new"; then
        took_new=$((took_new + 1))
        current=$new
    else
        fail "$kill" "the file holds neither the old nor the new bytes (killed $moment)"
        ok=0
    fi
    if ! same "$file" "$work/state_$old" && ! same "$backup" "$work/state_$old"; then
        fail "$kill" "the old bytes are under neither the file's name nor the backup name"
        ok=0
    fi
    if [[ -e "$backup" ]] && ! same "$backup" "$work/state_a" && ! same "$backup" "$work/state_b"; then
        fail "$kill" "the backup is not a complete earlier version"
        ok=0
    fi
    [[ -n "$(temporaries)" ]] && left_temporary=$((left_temporary + 1))
    ((ok)) && survived=$((survived + 1))

    # The next save runs to its end: the other text, the file before it as the backup, and no
    # temporary file of any save left behind.
    before=$current
    after=$([[ $before == a ]] && echo b || echo a)
    text_var=text_$after
    "${runner[@]}" "$cli" patch "$file" --search "$search" --text "${!text_var}" >/dev/null 2>"$work/stderr"
    status=$?
    if ((status != 0)); then
        fail "$kill" "the save after the kill failed (exit status $status): $(cat "$work/stderr")"
        continue
    fi
    current=$after
    same "$file" "$work/state_$after" || fail "$kill" "the save after the kill wrote wrong bytes"
    same "$backup" "$work/state_$before" || fail "$kill" "the save after the kill made a wrong backup"
    leftovers=$(temporaries)
    if [[ -n "$leftovers" ]]; then
        fail "$kill" "temporary files left after the next save: $leftovers"
        # Each kill is judged on its own.
        (cd "$work" && rm -f $leftovers)
    fi
done

echo "kills that struck a running save: $struck of $kills"
echo "file kept its old bytes: $kept_old; file took the new bytes: $took_new"
echo "kills that left a temporary file until the next save: $left_temporary"
echo "kills survived: $survived/$kills"
if ((failures > 0)); then
    echo "$failures failed checks" >&2
    exit 1
fi
