#!/usr/bin/env bash
# Checks the Debian package built by scripts/package.sh.
#   scripts/check-package.sh [DEB]           its fields, its dependencies and its contents,
#                                            unpacked with dpkg -x (quick; no root needed)
#   scripts/check-package.sh --fresh [DEB]   also installs it with apt into a fresh Debian 12
#                                            (debootstrap; root and a few minutes), checks that
#                                            nothing it loads is missing, and starts the tool
#                                            from its desktop entry as a normal user under Xvfb
# DEB defaults to build/qx284-config_*.deb. The bare debootstrap is kept in build-debian12/base
# and reused; every run installs into a new copy of it, removed afterwards unless a check
# failed. The screenshot of the started tool is left in build-debian12/screen.png.
set -uo pipefail
cd "$(dirname "$0")/.."

fresh=0
if [ "${1:-}" = "--fresh" ]; then fresh=1; shift; fi
deb=${1:-$(ls build/qx284-config_*.deb 2>/dev/null | tail -n 1)}
[ -f "$deb" ] || { echo "No package: run scripts/package.sh first" >&2; exit 1; }
deb=$(realpath "$deb")

failures=0
fail() { echo "FAIL - $*"; failures=$((failures + 1)); }
ok() { echo "ok   - $*"; }
finish() {
    [ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
    echo "the package is sound"
    exit 0
}

echo "== $(basename "$deb")"
dpkg-deb -I "$deb"
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = "qx284-config" ] && ok "Package: qx284-config" || fail "Package: $(field Package)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] && ok "Architecture: $(field Architecture)" \
    || fail "Architecture: $(field Architecture)"
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
    [[ ", $depends," == *", $library "* ]] && ok "Depends on $library" || fail "no dependency on $library"
done

echo "== contents"
dpkg-deb -c "$deb"
expected="./usr/bin/qx284-config
./usr/bin/radiosim
./usr/share/applications/qx284-config.desktop
./usr/share/doc/qx284-config/README.md
./usr/share/icons/hicolor/256x256/apps/qx284-config.png
./usr/share/icons/hicolor/scalable/apps/qx284-config.svg"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$files" = "$expected" ] && ok "the files, and only them" \
    || { fail "the files differ:"; diff <(echo "$expected") <(echo "$files"); }
owners=$(dpkg-deb -c "$deb" | awk '{ print $2 }' | sort -u)
[ "$owners" = "root/root" ] && ok "owned by root" || fail "owners: $owners"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg -x "$deb" "$unpacked"
report=$(desktop-file-validate "$unpacked/usr/share/applications/qx284-config.desktop" 2>&1)
[ $? -eq 0 ] && [ -z "$report" ] && ok "the desktop entry validates" || fail "desktop-file-validate: $report"
for program in qx284-config radiosim; do
    file "$unpacked/usr/bin/$program" | grep -q "stripped" && ! file "$unpacked/usr/bin/$program" | grep -q "not stripped" \
        && ok "$program is stripped" || fail "$program is not stripped"
    missing=$(ldd "$unpacked/usr/bin/$program" | grep "not found")
    [ -z "$missing" ] && ok "$program finds every library" || fail "$program: $missing"
done

[ "$fresh" -eq 1 ] || finish

# ---- A fresh Debian 12 -------------------------------------------------------------------
[ "$(id -u)" -eq 0 ] || { echo "--fresh needs root (debootstrap, chroot)" >&2; exit 1; }
source scripts/deps.sh
install_missing debootstrap
store=$PWD/build-debian12
base=$store/base
root=$store/root
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

# Never delete a tree that still has something mounted in it.
unmount_all() {
    local mounted
    for mounted in $(awk -v r="$root/" 'index($2, r) == 1 { print $2 }' /proc/mounts | sort -r); do
        umount "$mounted" || umount -l "$mounted"
    done
}
remove_root() {
    unmount_all
    if awk -v r="$root/" 'index($2, r) == 1' /proc/mounts | grep -q .; then
        echo "still mounted under $root: not removing it" >&2
        return 1
    fi
    rm -rf "$root"
}
trap 'rm -rf "$unpacked"; unmount_all' EXIT

if [ ! -x "$base/usr/bin/apt-get" ]; then
    echo "== debootstrap bookworm (once; kept in $base)"
    rm -rf "$base"
    mkdir -p "$store"
    debootstrap --variant=minbase bookworm "$base" "$mirror" >"$store/debootstrap.log" 2>&1 \
        || { tail -n 20 "$store/debootstrap.log"; echo "debootstrap failed" >&2; exit 1; }
fi
remove_root || exit 1
cp -a "$base" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

echo "== apt install ./$(basename "$deb") on a fresh Debian 12"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq || fail "apt-get update"
in_root apt-get install -y "/tmp/$(basename "$deb")" >"$store/install.log" 2>&1
status=$?
grep -E "^(The following NEW packages|[0-9]+ upgraded|Setting up qx284-config)" "$store/install.log"
[ "$status" -eq 0 ] && ok "apt install ./$(basename "$deb")" \
    || { tail -n 30 "$store/install.log"; fail "apt install (log: $store/install.log)"; finish; }
in_root dpkg -s qx284-config | grep -E "^(Status|Version)"

# What the tool loads, before anything else is installed: the binaries and the X11 platform.
for object in /usr/bin/qx284-config /usr/bin/radiosim \
    /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so; do
    missing=$(in_root ldd "$object" 2>&1 | grep "not found")
    [ -z "$missing" ] && ok "$object finds every library" || fail "$object: $missing"
done
in_root radiosim --help >/dev/null && ok "radiosim runs" || fail "radiosim --help"

echo "== starting it from the desktop menu, as a normal user, under Xvfb"
in_root apt-get install -y -qq --no-install-recommends xvfb xauth x11-utils x11-apps netpbm \
    libglib2.0-bin >"$store/harness.log" 2>&1 || { fail "installing Xvfb (log: $store/harness.log)"; finish; }
in_root useradd -m -s /bin/bash tecnico
cat >"$root/tmp/desktop-start.sh" <<'INNER'
#!/bin/sh
# Runs as the user: a display, the tool started through its desktop entry, its window found.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>/tmp/display >/tmp/xvfb.log 2>&1 &
xvfb=$!
for i in $(seq 50); do [ -s /tmp/display ] && break; sleep 0.2; done
export DISPLAY=:$(cat /tmp/display)
gio launch /usr/share/applications/qx284-config.desktop >/tmp/tool.log 2>&1 &
window=""
for i in $(seq 60); do
    window=$(xwininfo -root -tree | awk '/"BRENTOLA/ { print $1; exit }')
    [ -n "$window" ] && break
    sleep 0.5
done
sleep 2
xwininfo -root -tree | grep -E '"(BRENTOLA|QX284)' | head -n 3
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >/tmp/screen.png 2>/dev/null
# The tool was started by the desktop launcher: its window names its process.
if [ -n "$window" ]; then
    pid=$(xprop -id "$window" _NET_WM_PID | awk '{ print $3 }')
    echo "window $window, process $pid: $(tr '\0' ' ' </proc/"$pid"/cmdline)"
    kill "$pid"
fi
kill "$xvfb"
wait 2>/dev/null
cat /tmp/tool.log
[ -n "$window" ]
INNER
chmod 0755 "$root/tmp/desktop-start.sh"
in_root setpriv --reuid=tecnico --regid=tecnico --init-groups env HOME=/home/tecnico USER=tecnico \
    /tmp/desktop-start.sh
[ $? -eq 0 ] && ok "the tool's window opened from its desktop entry" || fail "no window from the desktop entry"
cp "$root/tmp/screen.png" "$store/screen.png" 2>/dev/null && echo "screenshot: $store/screen.png"

# Keep the installed system only when something failed, to look into.
if [ "$failures" -eq 0 ]; then remove_root; else unmount_all; echo "kept for a look: $root"; fi
finish
