# The checks of the shell tests, sourced: each check prints "ok: ..." or "FAIL: ..." and is
# counted in $passed or $failed.
passed=0
failed=0
ok() {
    echo "ok: $*"
    passed=$((passed + 1))
}
fail() {
    echo "FAIL: $*"
    failed=$((failed + 1))
}
fails() { ! "$@"; }
check() {  # check DESCRIPTION COMMAND...: passes when the command succeeds; its output is dropped
    local description=$1
    shift
    if "$@" >/dev/null 2>&1; then ok "$description"; else fail "$description"; fi
}
