#!/usr/bin/env bash
# "tavlo-cli patch" through symbolic links, one table for Linux and Windows (under Wine, whose
# files are those of the Linux file system): the links stay links, the file they lead to gets
# the new bytes, the backup is named after the name given and holds the old bytes, and no
# temporary file is left anywhere.
#
#   link_table_test.sh TAVLO_CLI
#
# TAVLO_CLI_RUNNER, when set, is the command that starts the program (cmake/wine-run.sh).
set -uo pipefail

cli=${1:?usage: link_table_test.sh TAVLO_CLI}
[[ -x "$cli" ]] || { echo "not an executable: $cli" >&2; exit 2; }
read -r -a runner <<<"${TAVLO_CLI_RUNNER:-}"

work=$(mktemp -d "${TMPDIR:-/tmp}/tavlo-links-XXXXXX")
trap 'rm -rf "$work"' EXIT
printf 'head\0WARNING: do not remove\0tail' >"$work/original"

failures=0
fail() {
    echo "$1: $2" >&2
    failures=$((failures + 1))
}

# rule | links to make ("name>target", made in order) | the file the links lead to | name given
rows=(
    "a link beside its file|fw.rgn>real.rgn|real.rgn|fw.rgn"
    "a link into another folder|fw.rgn>store/real.rgn|store/real.rgn|fw.rgn"
    "a chain of links across folders|links/chain.rgn>../real/target.rgn links/fw.rgn>chain.rgn|real/target.rgn|links/fw.rgn"
    "a link by its full path|fw.rgn>@/store/real.rgn|store/real.rgn|fw.rgn"
)
for row in "${rows[@]}"; do
    IFS='|' read -r rule links target given <<<"$row"
    rm -rf "${work:?}/case" && mkdir -p "$work/case/store" "$work/case/real" "$work/case/links"
    cp "$work/original" "$work/case/$target"
    for link in $links; do
        name=${link%%>*}
        to=${link#*>}
        ln -s "${to/#@/$work/case}" "$work/case/$name"
    done
    before=$(cd "$work/case" && find . -type l -printf '%p>%l\n' | sort)

    "${runner[@]}" "$cli" patch "$work/case/$given" --search WARNING --text Owner \
        >"$work/out" 2>"$work/err"
    status=$?
    ((status == 0)) || { fail "$rule" "exit $status: $(cat "$work/err")"; continue; }
    after=$(cd "$work/case" && find . -type l -printf '%p>%l\n' | sort)
    [[ "$after" == "$before" ]] || fail "$rule" "the links changed: $after"
    grep -q 'Owner' "$work/case/$target" || fail "$rule" "the file the links lead to was not patched"
    backup=${given%.rgn}.bak
    [[ -f "$work/case/$backup" && ! -L "$work/case/$backup" ]] ||
        fail "$rule" "no backup beside the name given"
    cmp -s "$work/case/$backup" "$work/original" || fail "$rule" "the backup is not the old bytes"
    grep -q "^backup: .*${backup##*/}\$" "$work/out" || fail "$rule" "backup line: $(cat "$work/out")"
    leftovers=$(find "$work/case" -name '*.tavlo-*')
    [[ -z "$leftovers" ]] || fail "$rule" "temporary files left: $leftovers"
done

echo "${#rows[@]} rows, $failures failed checks"
((failures == 0))
