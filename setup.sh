#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine: installs what is missing, builds, then
#   ./setup.sh run           starts the desktop program on a copy of the sample firmware
#   ./setup.sh test          passes every test, once normally and once under ASan + UBSan
#   ./setup.sh package       builds the Debian package build/package/tavlo_VERSION_amd64.deb
#   ./setup.sh windows-test  cross-builds for Windows and passes its tests under Wine
#   ./setup.sh windows       builds build/windows/tavlo-<version>-x64.msi, the installer, and
#                            build/windows/tavlo-<version>-windows-x64.zip
set -euo pipefail
cd "$(dirname "$0")"

# What building and running the program need.
build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libstb-dev libgtest-dev
                libgmock-dev libgl-dev librsvg2-bin xvfb xauth xdg-utils)
# The Debian package: its dependencies come from dpkg-shlibdeps, which CPack runs with file.
package_packages=(dpkg-dev file)
# The tests' own tools: the help page's browser, the package's validators and linter, what the
# install test drives the installed program with, and what photographs the windows (import).
test_packages=(chromium lintian desktop-file-utils appstream man-db bash-completion xdotool
               xclip libgtk-3-bin imagemagick)

# The Windows build: the mingw-w64 cross compiler, Wine (with its own fonts, which the dialogs'
# "MS Sans Serif" comes from) to run its programs and tests, and GoogleTest's sources for the
# cross compiler to build; the window's tests run on a virtual screen. wixl and msitools make
# the installer (.msi), which the install test installs under Wine.
windows_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                  wine wine64 fonts-wine googletest libstb-dev xvfb xauth wixl msitools)
apt_options=()

# Wine's recommended fonts and multimedia libraries are not needed.
install_windows_packages() {
    apt_options=(--no-install-recommends)
    install_missing "${windows_packages[@]}"
    apt_options=()
}

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${apt_options[@]}" \
            "${missing[@]}"
    fi
}

build() {
    cmake --preset "$1"
    cmake --build --preset "$1"
}

case "${1:-}" in
run)
    install_missing "${build_packages[@]}"
    build default
    # The desktop program starts in a working folder that holds a fresh copy of the sample
    # firmware, so its file-name field already shows sample.rgn: press "Search !".
    program="$PWD/build/default/bin/tavlo"
    workdir=build/default/workdir
    mkdir -p "$workdir"
    cp -f build/default/sample/sample.rgn "$workdir/"
    cd "$workdir"
    echo "Starting tavlo in $PWD"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found: tavlo runs under xvfb-run on a virtual screen that nobody sees."
        exec xvfb-run -a -s "-screen 0 1024x768x24" "$program"
    fi
    exec "$program"
    ;;
test)
    # The install test packages this build, installs the package and purges it again.
    install_missing "${build_packages[@]}" "${package_packages[@]}" "${test_packages[@]}"
    install_windows_packages
    build default
    ctest --preset default
    build sanitize
    ctest --preset sanitize
    # Every fuzz target for 30 seconds (clang, libFuzzer, ASan + UBSan; a build of its own).
    tools/run_fuzzers.sh 30
    # The Windows build and its tests under Wine.
    build windows
    ctest --preset windows
    ;;
package)
    install_missing "${build_packages[@]}" "${package_packages[@]}"
    build package
    cpack --preset package
    ls build/package/*.deb
    ;;
windows-test)
    install_windows_packages
    build windows
    ctest --preset windows
    ;;
windows)
    install_windows_packages
    build windows
    version=$(sed -n 's/^project(Tavlo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    package=build/windows/tavlo-$version-windows-x64
    rm -rf "$package" "$package.zip"
    mkdir -p "$package"
    # The programs without their debugging symbols, as the build stripped them for the installer.
    cp build/windows/stripped/tavlo.exe build/windows/stripped/tavlo-cli.exe "$package/"
    cp resources/windows-readme.txt "$package/README.txt"
    (cd build/windows && cmake -E tar cf "tavlo-$version-windows-x64.zip" --format=zip \
        "tavlo-$version-windows-x64")
    ls -l "$package.zip" "build/windows/tavlo-$version-x64.msi"
    ;;
*)
    echo "usage: $0 run|test|package|windows-test|windows" >&2
    exit 2
    ;;
esac
