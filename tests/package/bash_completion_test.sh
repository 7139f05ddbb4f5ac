#!/usr/bin/env bash
# The bash completion of tavlo-cli against the real program: before a command it offers the
# commands tavlo-cli knows; after one, exactly the options tavlo-cli accepts for that command;
# where a firmware file goes, .rgn files and folders.
#   bash_completion_test.sh TAVLO_CLI COMPLETION_SCRIPT
set -uo pipefail
cli=$1
# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion
# shellcheck source=/dev/null
source "$2"
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

# What the completion offers for a command line whose last word is being typed, one per line.
offered() {
    COMP_WORDS=(tavlo-cli "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _tavlo_cli tavlo-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | grep -v '^$' | sort
}

# Whether tavlo-cli takes OPTION with COMMAND: the parser says so unless it calls the option
# not one of the command's. Values are added until the option has the ones it needs.
accepts() {
    local command=$1 option=$2 file=(no-such-file.rgn) values error
    [ "$command" = settings ] && file=()
    for values in "" "1" "1 1"; do
        # shellcheck disable=SC2086 # the values are meant to split
        error=$("$cli" "$command" "${file[@]}" "$option" $values 2>&1 >/dev/null)
        case $error in
            *"is not an option of"*) return 1 ;;
            *"needs a value"* | *"unexpected argument"* | *"needs a whole number"*) ;;
            *) return 0 ;;
        esac
    done
    return 1
}

help=$("$cli" --help)
commands=$(sed -n '/^Commands:/,/^$/p' <<<"$help" | grep -oE '^  [a-z]+' | tr -d ' ' | sort)
# --help and --version stand alone, before any command.
all_options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | grep -vx -e '--help' -e '--version' | sort -u)
if [ -z "$commands" ] || [ -z "$all_options" ]; then
    fail "tavlo-cli --help has no commands or options"
fi

# shellcheck disable=SC2086 # one command a line
[ "$(offered '')" = "$(printf '%s\n' $commands --help --version | sort)" ] ||
    fail "first word: offered $(offered '' | tr '\n' ' ')"
for command in $commands; do
    expected=$(for option in $all_options; do
        accepts "$command" "$option" && echo "$option"
    done | sort)
    got=$(offered "$command" x.rgn -- | grep -vx -- '--help')
    [ "$got" = "$expected" ] ||
        fail "$command: offered [$(tr '\n' ' ' <<<"$got")], accepted [$(tr '\n' ' ' <<<"$expected")]"
done

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/units"
touch "$folder/unit.rgn" "$folder/notes.txt"
got=$(cd "$folder" && offered find '' | tr '\n' ' ')
[ "$got" = "unit.rgn units " ] || fail "file names after find: [$got]"

[ "$failed" -eq 0 ] && echo "completion: commands, each command's options and file names agree"
exit "$failed"
