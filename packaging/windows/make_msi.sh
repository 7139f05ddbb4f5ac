#!/usr/bin/env bash
# Builds Tavlo's Windows installer: wixl (Debian package wixl) compiles tavlo.wxs, msibuild
# (msitools) adds what wixl cannot say (msi-additions.sql).
#   make_msi.sh VERSION PROGRAM_DIR ICON HELP_FILES OUTPUT.msi
# VERSION is major.minor.patch.tweak; Windows Installer compares the first three when it decides
# that one Tavlo is newer than another. PROGRAM_DIR holds tavlo.exe and tavlo-cli.exe. HELP_FILES
# names the files View help writes, one a line, relative to its folder (img/screen1.gif).
set -euo pipefail
version=$1
programs=$2
icon=$3
help_files=$4
output=$5
here=$(cd "$(dirname "$0")" && pwd)

# Every Tavlo installer carries this upgrade code: a newer one finds the installed one by it and
# replaces it. Never change it.
upgrade_code=4BC66A5B-0C63-4775-A800-CF05D27383C3
# The product code names one version: the same for every build of it (a name-based UUID of the
# upgrade code and the version), so a second build of one version is no second product.
hash=$(printf '%s/%s' "$upgrade_code" "$version" | sha1sum)
variant=$(printf '%x' $(((16#${hash:16:1} & 3) | 8)))
product_code=$(printf '%s-%s-5%s-%s%s-%s' "${hash:0:8}" "${hash:8:4}" "${hash:13:3}" "$variant" \
    "${hash:17:3}" "${hash:20:12}" | tr a-f A-F)

# wixl takes the files by names relative to the folder it runs in.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$programs/tavlo.exe" "$programs/tavlo-cli.exe" "$work/"
cp "$icon" "$work/tavlo.ico"
(cd "$work" && wixl --arch x64 --output tavlo.msi -D Version="$version" \
    -D ProductCode="$product_code" -D UpgradeCode="$upgrade_code" "$here/tavlo.wxs")
while IFS= read -r statement; do
    case $statement in '' | --*) continue ;; esac
    msibuild "$work/tavlo.msi" -q "$statement"
done <"$here/msi-additions.sql"
# Each file of the help copy by its name too: Wine's installer takes no wildcard.
while IFS= read -r file; do
    case $file in
    img/*) folder=HelpPicturesFolder ;;
    */*) echo "make_msi.sh: no folder of the help copy holds $file" >&2 && exit 1 ;;
    *) folder=HelpFolder ;;
    esac
    name=${file##*/}
    msibuild "$work/tavlo.msi" -q "INSERT INTO \`RemoveFile\` (\`FileKey\`, \`Component_\`, \`FileName\`, \`DirProperty\`, \`InstallMode\`) VALUES ('RemoveHelp_${file//\//_}', 'HelpCopy', '$name', '$folder', 2)"
done <"$help_files"
mv "$work/tavlo.msi" "$output"
