#!/usr/bin/env bash
# Set up, build and start Quorin, run its whole test suite, or build its Debian package,
# on Debian 12.
#
#   ./quorin.sh run           install what is missing, build, start Quorin
#   ./quorin.sh test          install what is missing, build, run every test: the normal
#                             build, the same under AddressSanitizer and
#                             UndefinedBehaviorSanitizer, and the fuzzers (receive path,
#                             server announcement) for a short while; with
#                             QUORIN_PACKAGE_TEST=1 also package-test
#   ./quorin.sh package       install what is missing, build the Debian package
#                             ./build-package/quorin_<version>_<arch>.deb
#   ./quorin.sh package-test  build the package, then install it into a fresh minimal
#                             Debian 12 (downloaded) and start it there; slow, needs root
#
# Packages are installed with apt-get, as root or through sudo. The builds live in
# ./build (the program, its pictures, sound and address list in ./build/bin),
# ./build-asan, ./build-fuzz and ./build-package.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="$here/build"
bin="$build/bin"

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-multimedia-dev libgl-dev libminiupnpc-dev libnatpmp-dev
    fonts-ipafont qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils xclip imagemagick iproute2
    miniupnpd miniupnpc natpmpc nftables
    at-spi2-core python3-pyatspi gir1.2-atspi-2.0 dbus
    clang libclang-rt-14-dev
    dpkg-dev file desktop-file-utils appstream debootstrap
)

usage() {
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "${BASH_SOURCE[0]}"
    exit 2
}

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "These packages are missing and this user can neither install them nor use sudo:" >&2
            echo "  ${missing[*]}" >&2
            exit 1
        fi
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# configure_and_build <folder> [cmake options...] [-- targets...]
configure_and_build() {
    local dir=$1
    shift
    local options=() targets=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do options+=("$1"); shift; done
    [ $# -gt 0 ] && shift && targets=("$@")
    cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORIN_WERROR=ON "${options[@]}"
    cmake --build "$dir" -j "$(nproc)" ${targets[@]+--target "${targets[@]}"}
}

have_display() {
    [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

run() {
    cd "$bin"
    if have_display; then
        exec ./quorin
    fi
    local shots="$build/screenshots"
    mkdir -p "$shots"
    local shot
    shot="$shots/quorin-$(date +%Y%m%d-%H%M%S).png"
    echo "No display is available: starting Quorin on a virtual display (Xvfb)."
    # Inside the virtual display: start Quorin, wait for its window, photograph the screen,
    # then keep running until Quorin ends or this command is interrupted.
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c '
        ./quorin & pid=$!
        trap "kill $pid 2>/dev/null" INT TERM EXIT
        if timeout 20 xdotool search --sync --onlyvisible --name "^Quorin" >/dev/null; then
            sleep 1
            import -window root "$1"
            echo "Screenshot of the virtual display saved to $1"
        else
            echo "Quorin did not show its window within 20 seconds." >&2
        fi
        echo "Quorin is running on the virtual display; press Ctrl+C to stop it."
        wait $pid
    ' quorin-run "$shot"
}

run_tests() {
    echo "== the test suite"
    configure_and_build "$build"
    (cd "$build" && ctest --output-on-failure -j "$(nproc)")

    echo "== the test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
    configure_and_build "$here/build-asan" -DQUORIN_SANITIZE=ON -DQUORIN_BUILD_BENCH=OFF \
        -DQUORIN_BUILD_TOOLS=OFF
    "$here/tests/sanitizers/run.sh" "$here/build-asan"

    echo "== the fuzzers: the receive path and the server announcement"
    configure_and_build "$here/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DQUORIN_FUZZ=ON -DQUORIN_SANITIZE=ON \
        -DQUORIN_BUILD_BENCH=OFF -DQUORIN_BUILD_TOOLS=OFF -- receive_fuzzer announcement_fuzzer
    "$here/tests/sanitizers/run.sh" "$here/build-fuzz" -L fuzz

    if [ "${QUORIN_PACKAGE_TEST:-0}" = 1 ]; then
        package_test
    fi
}

# The package is built like the one a user installs: a Release build for the prefix /usr.
package() {
    configure_and_build "$here/build-package" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
        -DQUORIN_BUILD_TESTS=OFF -DQUORIN_BUILD_BENCH=OFF -DQUORIN_BUILD_TOOLS=OFF
    rm -f "$here/build-package"/quorin_*.deb
    (cd "$here/build-package" && cpack -G DEB)
    echo "Install it with: sudo apt install $(ls "$here/build-package"/quorin_*.deb)"
}

package_test() {
    echo "== the Debian package on a fresh Debian 12"
    package
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" bash "$here/tests/e2e/package.sh" "$here/build-package"
}

case "${1:-}" in
run)
    install_missing
    configure_and_build "$build"
    run
    ;;
test)
    install_missing
    run_tests
    ;;
package)
    install_missing
    package
    ;;
package-test)
    install_missing
    package_test
    ;;
*) usage ;;
esac
