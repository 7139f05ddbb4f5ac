#!/usr/bin/env bash
# The manual pages format without a warning from man, and tavlo-cli(1) names every command and
# option that tavlo-cli --help names, and every exit status it lists.
#   manual_pages_test.sh TAVLO_CLI PAGE...
set -uo pipefail
cli=$1
shift
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

for page in "$@"; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
done

cli_page=$(printf '%s\n' "$@" | grep '/tavlo-cli\.1$')
text=$(LC_ALL=C MANWIDTH=200 man -l "$cli_page" 2>/dev/null)
help=$("$cli" --help)
# The commands are the indented words that start the lines under "Commands:".
commands=$(sed -n '/^Commands:/,/^$/p' <<<"$help" | grep -oE '^  [a-z]+' | tr -d ' ')
options=$(grep -oE -- '(^| |\[)--?[a-z][a-z-]*' <<<"$help" | grep -oE -- '-.*' | sort -u)
statuses=$(grep -A1 '^Exit status:' <<<"$help" | grep -oE '[0-9]+ [a-z]' | cut -d' ' -f1)
if [ -z "$commands" ] || [ -z "$options" ] || [ -z "$statuses" ]; then
    fail "tavlo-cli --help no longer has the layout this test reads"
fi
for command in $commands; do
    grep -qE "^ +tavlo-cli $command( |$)" <<<"$text" || fail "no synopsis of '$command'"
done
for option in $options; do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$text" || fail "option $option not described"
done
exit_section=$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' <<<"$text")
for status in $statuses; do
    grep -qE "^ +$status( |$)" <<<"$exit_section" || fail "exit status $status not described"
done
[ "$failed" -eq 0 ] && echo "manual pages: no warnings; every command, option and exit status"
exit "$failed"
