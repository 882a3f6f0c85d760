#!/usr/bin/env bash
# The Debian package on a fresh Debian 12. Its contents and dependencies are checked, then
# a minimal Debian 12 is set up in a folder (debootstrap, downloading a base system) and
# the package is installed there with apt, without recommended packages, so that it
# brings everything it needs by itself. The installed program is started from the root
# folder on a virtual display and must draw its board with all pieces. Removing the
# package must leave nothing behind. Slow: a few minutes, run on request.
#
#   package.sh <folder holding quorin_*.deb>     (as root)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
folder=${1:?the folder holding the package}
[ "$(id -u)" = 0 ] || fail "the system is set up with debootstrap and chroot: run as root"
deb=$(ls -t "$folder"/quorin_*.deb 2>/dev/null | head -n 1)
[ -f "$deb" ] || fail "no quorin_*.deb in $folder"
started=$SECONDS

note "contents of $(basename "$deb")"
dpkg-deb -c "$deb" | awk '{print $6}' >"$E2E_WORK/contents"
outside=$(grep -v '^\./usr/' "$E2E_WORK/contents")
[ -z "$outside" ] || fail "paths outside /usr: $outside"
for path in bin/quorin 'lib/[^/]*/quorin/libquorin_sound\.so' share/quorin/po1.bmp share/quorin/ki2.bmp \
    share/quorin/C.wav share/quorin/Virir.txt share/applications/org.quorin.quorin.desktop \
    share/metainfo/org.quorin.quorin.metainfo.xml \
    share/icons/hicolor/48x48/apps/org.quorin.quorin.png share/icons/hicolor/256x256/apps/org.quorin.quorin.png; do
    grep -qx "\./usr/$path" "$E2E_WORK/contents" || fail "/usr/$path is not in the package"
done

note "dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6multimedia6 \
    fonts-ipafont qt6-translations-l10n; do
    echo ", $depends," | grep -q ", $package[ ,]" || fail "Depends lacks $package"
done

note "a minimal Debian 12"
root="$E2E_WORK/root"
# The chroot's /proc is mounted: it must be gone before the folder is removed.
unmount_root() { umount "$root/proc" 2>/dev/null; }
trap 'unmount_root; cleanup' EXIT
debootstrap --variant=minbase bookworm "$root" >"$E2E_WORK/debootstrap.log" 2>&1 ||
    fail "debootstrap failed: $(tail -n 5 "$E2E_WORK/debootstrap.log")"
mount -t proc proc "$root/proc" || fail "cannot mount /proc in the chroot"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root DEBIAN_FRONTEND=noninteractive "$@"; }
note "base system ready after $((SECONDS - started)) s"

note "apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root apt-get update -q >"$E2E_WORK/apt.log" 2>&1 || fail "apt-get update failed"
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >>"$E2E_WORK/apt.log" 2>&1 ||
    fail "apt install failed: $(tail -n 20 "$E2E_WORK/apt.log")"
listed=$(in_root dpkg -L quorin)
outside=$(echo "$listed" | grep -v '^/usr\(/\|$\)')
[ -z "$outside" ] || fail "dpkg -L lists paths outside /usr: $outside"
note "installed after $((SECONDS - started)) s"

note "started from the root folder, it draws the board with every piece"
start_display
PIECE=$(identify -format %w "$root/usr/share/quorin/po1.bmp")
mkdir -p "$E2E_WORK/chroot"
COPY_LOG="$E2E_WORK/chroot/out.log" start_copy / 0 \
    chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root DISPLAY="$DISPLAY" quorin
shot="$E2E_WORK/board.png"
import -window root "$shot"
cp "$shot" "${E2E_SHOT:-/dev/null}" 2>/dev/null
expect_start_position "$shot" "$COPY_WIN" "$root/usr/share/quorin"
quit "$COPY_WIN" "$COPY_PID"

note "removing it leaves nothing behind in /usr"
(cd "$root" && find usr | sort) >"$E2E_WORK/usr.installed"
in_root apt-get purge -y -q quorin >>"$E2E_WORK/apt.log" 2>&1 || fail "apt purge failed"
(cd "$root" && find usr | sort) >"$E2E_WORK/usr.removed"
added=$(comm -13 "$E2E_WORK/usr.installed" "$E2E_WORK/usr.removed")
[ -z "$added" ] || fail "removing the package added: $added"
echo "$listed" | sed 's|^/||' | sort >"$E2E_WORK/usr.package"
left=$(comm -12 "$E2E_WORK/usr.package" "$E2E_WORK/usr.removed" | while read -r path; do
    # A folder other packages use stays; anything else of the package must be gone.
    [ -d "$root/$path" ] && in_root dpkg -S "/$path" >/dev/null 2>&1 || echo "$path"
done)
[ -z "$left" ] || fail "left behind: $left"
gone=$(comm -23 "$E2E_WORK/usr.installed" "$E2E_WORK/usr.removed" | grep -vxF -f "$E2E_WORK/usr.package")
[ -z "$gone" ] || fail "removing the package took away what was not its own: $gone"

echo "PASS: package ($((SECONDS - started)) s)"
