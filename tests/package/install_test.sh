#!/usr/bin/env bash
# The Debian package as a user meets it: made from this build's programs, checked by lintian,
# installed with apt-get, used by a user created for the test with a fresh home (tavlo-cli find,
# patch and settings on a copy of the sample firmware; tavlo started from its menu entry with
# that file, and its Edit settings), then purged, and the user removed. Needs root.
#   install_test.sh BUILD_DIR SOURCE_DIR SAMPLE_FIRMWARE
set -uo pipefail
build=$1
source=$2
sample=$3

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: installing a package and creating a user need root"
    exit 77
fi
if dpkg-query -W -f='${Status}' tavlo 2>/dev/null | grep -q ' installed$'; then
    echo "SKIPPED: a tavlo package is installed already, and this test would remove it"
    exit 77
fi

# shellcheck source=../support/checks.sh
. "$(dirname "$0")/../support/checks.sh"

work=$(mktemp -d /tmp/tavlo-install-test.XXXXXX)
chmod 755 "$work"
user=tavlo-test-$$
cleanup() {
    if dpkg-query -W -f='${Status}' tavlo 2>/dev/null | grep -q ' installed$'; then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tavlo >/dev/null 2>&1
    fi
    id "$user" >/dev/null 2>&1 && userdel --remove "$user" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Everything the user runs, with a clean environment of the user's own.
as_user() {
    runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin \
        LANG=C.UTF-8 "$@"
}

# --- The package --------------------------------------------------------------------------
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack made no package"
    exit 1
fi
deb=$(ls "$work"/package/tavlo_*_amd64.deb)
ok "cpack made $(basename "$deb")"

useradd --create-home --shell /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
check "the user $user has a fresh home $home" test -d "$home" -a ! -e "$home/.config/tavlo"

as_user lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1
lintian_status=$?
sed 's/^/    /' "$work/lintian.log"
check "lintian finds no error" test "$lintian_status" -eq 0

if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" \
    >"$work/apt.log" 2>&1; then
    cat "$work/apt.log"
    fail "apt-get cannot install the package"
    exit 1
fi
ok "apt-get installed the package"
installed=$(dpkg -L tavlo)

# --- What the system knows of it ------------------------------------------------------------
cp "$sample" "$home/unit.rgn"
chown "$user:" "$home/unit.rgn"
check "both programs are on the PATH" as_user sh -c 'command -v tavlo && command -v tavlo-cli'
check "man finds tavlo(1) and tavlo-cli(1)" as_user man -w tavlo tavlo-cli
content_type=$(as_user gio info -a standard::content-type "$home/unit.rgn" 2>/dev/null)
check "a .rgn file is of the package's MIME type" grep -q application/x-rgn-firmware \
    <<<"$content_type"
handler=$(as_user gio mime application/x-rgn-firmware 2>/dev/null)
check "the file manager opens it with Tavlo" grep -q org.tavlo.Tavlo.desktop <<<"$handler"

# --- tavlo-cli as the user ------------------------------------------------------------------
settings=$(as_user tavlo-cli settings)
check "tavlo-cli settings: no file, and the new one would go to ~/.config/tavlo" \
    test "$(head -2 <<<"$settings")" = "file: none
create: $home/.config/tavlo/tavlo.cfg"
found=$(as_user tavlo-cli find "$home/unit.rgn")
check "tavlo-cli find lists the message" test "$(wc -l <<<"$found")" -ge 1 -a -n "$found"
offset=$(cut -f1 <<<"$found" | head -1)
check "tavlo-cli patch writes the owner and keeps a backup" \
    as_user tavlo-cli patch "$home/unit.rgn" --text "Ann Owner"
check "the backup is the file as it was" cmp -s "$sample" "$home/unit.bak"
check "the owner text lies where the message was" \
    test "$(as_user tavlo-cli find "$home/unit.rgn" --search 'Ann Owner' | cut -f1)" = "$offset"

# --- tavlo as the user, from its menu entry ---------------------------------------------------
cp "$sample" "$home/unit.rgn"
# $VISUAL stands for the editor that Edit settings starts: "true" returns at once.
install -m 755 "$source/tests/package/drive_installed_tavlo.sh" "$work/"
as_user mkdir "$home/pictures"
session=$(as_user timeout 90 env VISUAL=true xvfb-run -a -s "-screen 0 800x600x24" \
    "$work/drive_installed_tavlo.sh" "$home/unit.rgn" "$home/pictures" 2>&1)
grep -E '^(ok|FAIL): |^    ' <<<"$session"
passed=$((passed + $(grep -c '^ok: ' <<<"$session")))
failed=$((failed + $(grep -c '^FAIL: ' <<<"$session")))
# Without a window, all the session said.
# shellcheck disable=SC2001 # every line indented
grep -q '^ok: the menu entry started' <<<"$session" || sed 's/^/    /' <<<"$session"
# The window as the menu entry showed it, and any box the flow did not expect, kept for a look.
rm -rf "$build/install-test-pictures"
cp -r "$home/pictures" "$build/install-test-pictures"
echo "    pictures in $build/install-test-pictures"

user_settings=$home/.config/tavlo/tavlo.cfg
check "Edit settings created ~/.config/tavlo/tavlo.cfg, the carried default byte for byte" \
    cmp -s "$source/resources/tavlo.cfg" "$user_settings"
check "tavlo-cli now reads that file" \
    test "$(as_user tavlo-cli settings | head -1)" = "file: $user_settings"

# --- Purge ----------------------------------------------------------------------------------
DEBIAN_FRONTEND=noninteractive apt-get purge -y -q tavlo >"$work/purge.log" 2>&1
check "apt-get purged the package" \
    sh -c "! dpkg-query -W -f='\${Status}' tavlo 2>/dev/null | grep -q 'installed'"
left=$(while read -r path; do
    [ -f "$path" ] || [ -L "$path" ] && echo "$path"
done <<<"$installed")
check "no installed file is left${left:+: $left}" test -z "$left"
userdel --remove "$user" 2>/dev/null
check "the user and their home are gone" sh -c "! id $user >/dev/null 2>&1 && test ! -e $home"

echo "install test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
