#!/usr/bin/env bash
# The Windows installer as a user meets it, under Wine in a fresh prefix on a virtual screen:
# msiexec /i installs it without questions; the programs, the Start menu entry, the .rgn file
# type and the Add or Remove Programs entry are there; a .rgn file opened through its file type
# comes up in Tavlo's file-name field; Edit settings creates the settings in %APPDATA%\Tavlo;
# tavlo-cli.exe works; a newer installer replaces this one in place; msiexec /x leaves nothing
# of Tavlo's behind but the user's settings. Where another program opens .rgn files, it keeps
# them.
#   msi_install_test.sh BUILD_DIR SOURCE_DIR SAMPLE_FIRMWARE MSI DRIVER.exe
# (DRIVER: drive_installed_tavlo.exe; run under xvfb-run. With KEEP_WORK set, the prefix stays
# in /tmp for a look.)
set -uo pipefail
build=$1
source=$2
sample=$3
msi=$4
driver=$5

# shellcheck source=../support/checks.sh
. "$(dirname "$0")/../support/checks.sh"
started=$SECONDS

work=$(mktemp -d /tmp/msi-install-test.XXXXXX)
# A home of its own too: a prefix's Documents is a link to the home folder.
mkdir "$work/home"
export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all
# No Mono or Gecko installers at the prefix's creation, and no menu entries on the Linux desktop
# for the Start menu's shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
    wineserver -k 2>/dev/null
    [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

# Text from Wine's programs: without carriage returns.
wine_text() { wine "$@" 2>/dev/null | tr -d '\r'; }
# A registry value as reg.exe shows it: KEY [VALUE] (the key's default value without one).
reg_value() {
    local key=$1 value=${2:-}
    if [ -n "$value" ]; then
        wine_text reg query "$key" /v "$value"
    else
        wine_text reg query "$key" /ve
    fi | sed -n 's/^ *[^ ].*REG_[A-Z_]* *//p' | head -1
}
# The Linux path of a Windows folder variable (%LOCALAPPDATA%, ...).
folder_of() { winepath -u "$(wine_text cmd /c echo "%$1%")" 2>/dev/null; }
# What msiexec wrote into the registry about Tavlo: every line of the prefix's registry files
# that names it, its file type or its product code (also in the packed form Windows Installer
# keys its own records by).
packed() {  # {8-4-4-4-12} -> the installer's packed form
    local g=${1//[\{\}-]/}
    local rev="" i
    for part in "${g:0:8}" "${g:8:4}" "${g:12:4}"; do
        for ((i = ${#part} - 1; i >= 0; i--)); do rev+=${part:i:1}; done
    done
    for ((i = 16; i < 32; i += 2)); do rev+=${g:i+1:1}${g:i:1}; done
    echo "$rev"
}
# The prefix's registry files, as Wine's server writes them when it ends (it ends the programs
# still running, Notepad for one).
registry_files() {
    wineserver -k
    cat "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg"
}
products=()
tavlo_registry_lines() {
    local patterns=(-e tavlo -e '\.rgn') code
    for code in "${products[@]}"; do
        patterns+=(-e "${code//[\{\}]/}" -e "$(packed "$code")")
    done
    registry_files | grep -i "${patterns[@]}"
}
# The Add or Remove Programs entries named Tavlo, in the user's and the machine's registry.
tavlo_uninstall_entries() {
    registry_files | awk '
        /^\[/ { key = $0 }
        key ~ /CurrentVersion\\\\Uninstall\\\\/ && /^"DisplayName"="Tavlo"$/ { print key }'
}
property_of() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }

# --- A fresh prefix ---------------------------------------------------------------------------
if ! wineboot -i >"$work/wineboot.log" 2>&1 || ! wineserver -w; then
    cat "$work/wineboot.log"
    fail "wineboot made no prefix"
    exit 1
fi
ok "a fresh Wine prefix in $((SECONDS - started)) s"
local_data=$(folder_of LOCALAPPDATA)
roaming=$(folder_of APPDATA)
documents=$(folder_of USERPROFILE)/Documents
install=$local_data/Programs/Tavlo
start_menu=$roaming/Microsoft/Windows/Start\ Menu/Programs
installer_cache=$(winepath -u 'C:\windows\Installer')
# The browser View help starts: a stand-in that reads the page and ends (a fresh prefix has
# none, and a real one would open on the Linux desktop).
wine reg add 'HKCR\.htm' /ve /d StandInBrowserPage /f >/dev/null 2>&1
wine reg add 'HKCR\StandInBrowserPage\shell\open\command' /ve \
    /d 'C:\windows\system32\cmd.exe /c type "%1" >nul' /f >/dev/null 2>&1

version=$(property_of "$msi" ProductVersion)
product=$(property_of "$msi" ProductCode)
products=("$product")
check "before the installation the prefix knows nothing of Tavlo" \
    test -z "$(tavlo_registry_lines)" -a ! -e "$install"

# --- Install ------------------------------------------------------------------------------------
before=$SECONDS
check "msiexec /i $(basename "$msi") /qn succeeds" timeout 120 wine msiexec /i "$(winepath -w "$msi")" /qn
echo "    (in $((SECONDS - before)) s)"
for program in tavlo.exe tavlo-cli.exe; do
    check "$program is installed in %LOCALAPPDATA%\\Programs\\Tavlo as built" \
        cmp "$build/stripped/$program" "$install/$program"
done
program_path=$(winepath -w "$install/tavlo.exe")
check "the Start menu has Tavlo" test -f "$start_menu/Tavlo.lnk"
check ".rgn files open with Tavlo when nothing else does" \
    test "$(reg_value 'HKCR\.rgn')" = Tavlo.rgn
check "Tavlo is in .rgn files' Open with list" \
    wine reg query 'HKCR\.rgn\OpenWithProgids' /v Tavlo.rgn
check "the file type opens a file with the installed tavlo.exe" \
    test "$(reg_value 'HKCR\Tavlo.rgn\shell\open\command')" = "\"$program_path\" \"%1\""
check "the file type shows the program's icon" \
    test "$(reg_value 'HKCR\Tavlo.rgn\DefaultIcon')" = "$program_path,0"
# Windows keeps a per-user installation's entry in the user's part of the registry; Wine in the
# machine's. Either way it is one entry, with the version, the publisher and the icon.
uninstall_key() {
    local root
    for root in HKCU HKLM; do
        key="$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1"
        wine reg query "$key" >/dev/null 2>&1 && echo "$key" && return
    done
}
entry=$(uninstall_key "$product")
check "Add or Remove Programs lists Tavlo $version" \
    test -n "$entry" -a "$(reg_value "$entry" DisplayVersion)" = "$version"
check "... by The Tavlo developers" test "$(reg_value "$entry" Publisher)" = "The Tavlo developers"
check "... installed in $program_path's folder" \
    test "$(reg_value "$entry" InstallLocation)" = "${program_path%tavlo.exe}"
product_icon=$(reg_value "HKCU\\Software\\Microsoft\\Installer\\Products\\$(packed "$product")" \
    ProductIcon)
check "... with the program's icon" cmp "$source/resources/tavlo.ico" "$(winepath -u "$product_icon")"

# --- The window, opened through the file type -------------------------------------------------
mkdir -p "$documents/GPS unit" "$work/pictures"
cp "$sample" "$documents/GPS unit/unit.rgn"
timeout 180 wine "$driver" "$program_path" "$(winepath -w "$documents/GPS unit/unit.rgn")" \
    "$(winepath -w "$work/pictures")" >"$work/driver.log" 2>&1
tr -d '\r' <"$work/driver.log" | grep -E '^(ok|FAIL): ' | sed 's/^/  /'
passed=$((passed + $(grep -c '^ok: ' "$work/driver.log")))
failed=$((failed + $(grep -c '^FAIL: ' "$work/driver.log")))
grep -q '^ok: the Tavlo window came up' "$work/driver.log" || sed 's/^/    /' "$work/driver.log"
rm -rf "$build/msi-install-test-pictures"
cp -r "$work/pictures" "$build/msi-install-test-pictures"
echo "    pictures in $build/msi-install-test-pictures"
check "Edit settings created %APPDATA%\\Tavlo\\tavlo.cfg, the carried default byte for byte" \
    cmp "$source/resources/tavlo.cfg" "$roaming/Tavlo/tavlo.cfg"
check "... and nothing in the installation's folder" test ! -e "$install/tavlo.cfg"
check "View help wrote the help to %LOCALAPPDATA%\\Tavlo\\help" \
    test -f "$local_data/Tavlo/help/index.htm" -a -f "$local_data/Tavlo/help/img/zertxtr.gif"

# --- tavlo-cli.exe ------------------------------------------------------------------------------
cli() { wine_text "$install/tavlo-cli.exe" "$@"; }
cp "$sample" "$work/unit.rgn"
unit=$(winepath -w "$work/unit.rgn")
check "tavlo-cli --version names the version" grep -qF "${version//./, }" <<<"$(cli --version)"
offset=$(cli find "$unit" | cut -f1 | head -1)
check "tavlo-cli find lists the message" test -n "$offset"
check "tavlo-cli patch writes the owner and keeps a backup" cli patch "$unit" --text "Ann Owner"
check "the backup is the file as it was" cmp "$sample" "$work/unit.bak"
check "the owner text lies where the message was" \
    test "$(cli find "$unit" --search 'Ann Owner' | cut -f1)" = "$offset"

# --- A newer installer --------------------------------------------------------------------------
IFS=. read -r major minor patch tweak <<<"$version"
newer_version=$major.$minor.$((patch + 1)).$tweak
newer=$work/tavlo-$newer_version-x64.msi
"$source/packaging/windows/make_msi.sh" "$newer_version" "$build/stripped" \
    "$source/resources/tavlo.ico" "$build/packaging/windows/help-files.txt" "$newer" \
    >"$work/make_msi.log" 2>&1 || cat "$work/make_msi.log"
newer_product=$(property_of "$newer" ProductCode)
products+=("$newer_product")
check "msiexec /i of Tavlo $newer_version succeeds" timeout 120 wine msiexec /i "$(winepath -w "$newer")" /qn
check "it replaced Tavlo $version: that entry is gone" test -z "$(uninstall_key "$product")"
newer_entry=$(uninstall_key "$newer_product")
check "Add or Remove Programs lists Tavlo $newer_version" \
    test -n "$newer_entry" -a "$(reg_value "$newer_entry" DisplayVersion)" = "$newer_version"
check "one Tavlo in Add or Remove Programs" test "$(tavlo_uninstall_entries | wc -l)" -eq 1
check "the programs are still in the same folder" cmp "$build/stripped/tavlo.exe" "$install/tavlo.exe"
check "the Start menu entry and the file type stay" \
    test -f "$start_menu/Tavlo.lnk" -a "$(reg_value 'HKCR\.rgn')" = Tavlo.rgn
check "the user's settings stay" cmp "$source/resources/tavlo.cfg" "$roaming/Tavlo/tavlo.cfg"

# --- Uninstall ----------------------------------------------------------------------------------
check "msiexec /x /qn succeeds" timeout 120 wine msiexec /x "$(winepath -w "$newer")" /qn
check "the installation's folder is gone" test ! -e "$install"
check "the Start menu entry is gone" test ! -e "$start_menu/Tavlo.lnk"
check "the help copy and its folder are gone" test ! -e "$local_data/Tavlo"
check "the user's settings stay" cmp "$source/resources/tavlo.cfg" "$roaming/Tavlo/tavlo.cfg"
check "no installer package is kept" \
    test -z "$(find "$installer_cache" -maxdepth 1 -iname '*.msi' 2>/dev/null)"
left=$(tavlo_registry_lines)
check "no registry key or value of Tavlo's is left${left:+: $left}" test -z "$left"

# --- A user whose .rgn files another program opens ----------------------------------------------
wine reg add 'HKCR\.rgn' /ve /d OtherProgram.rgn /f >/dev/null 2>&1
check "msiexec /i succeeds where another program has .rgn files" \
    timeout 120 wine msiexec /i "$(winepath -w "$msi")" /qn
check "... which keeps them" test "$(reg_value 'HKCR\.rgn')" = OtherProgram.rgn
check "... with Tavlo in their Open with list" \
    wine reg query 'HKCR\.rgn\OpenWithProgids' /v Tavlo.rgn
check "msiexec /x succeeds there" timeout 120 wine msiexec /x "$(winepath -w "$msi")" /qn
check "... and leaves .rgn files to the other program" \
    test "$(reg_value 'HKCR\.rgn')" = OtherProgram.rgn
check "... without Tavlo in their Open with list" \
    fails wine reg query 'HKCR\.rgn\OpenWithProgids' /v Tavlo.rgn

echo "install test: $passed passed, $failed failed, $((SECONDS - started)) s"
[ "$failed" -eq 0 ]
