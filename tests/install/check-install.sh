#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that everything a desktop needs is
# where it belongs, that nothing else is installed, and that the installed tool starts.
# Usage: check-install.sh BUILD_DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL - $*"; failures=$((failures + 1)); }
ok() { echo "ok   - $*"; }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL - cmake --install"; exit 1; }

expected="bin/qx284-config
bin/radiosim
share/applications/qx284-config.desktop
share/doc/qx284-config/README.md
share/icons/hicolor/256x256/apps/qx284-config.png
share/icons/hicolor/scalable/apps/qx284-config.svg"
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
if [ "$installed" = "$expected" ]; then ok "the installed files"; else
    fail "the installed files differ:"; diff <(echo "$expected") <(echo "$installed"); fi

for program in qx284-config radiosim; do
    [ -x "$prefix/bin/$program" ] && ok "bin/$program is executable" || fail "bin/$program"
done

desktop="$prefix/share/applications/qx284-config.desktop"
if ! command -v desktop-file-validate >/dev/null; then
    fail "desktop-file-validate is missing (package desktop-file-utils)"
elif report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ]; then
    ok "the desktop entry validates"
else
    fail "desktop-file-validate: $report"
fi
key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
[ "$(key Name)" = "QX284 Configuration" ] && ok "named after the application's title" \
    || fail "Name=$(key Name)"
exec_program=$(key Exec | cut -d' ' -f1)
[ -x "$prefix/bin/$exec_program" ] && ok "Exec runs bin/$exec_program" || fail "Exec=$(key Exec)"
[[ ";$(key Categories)" == *";Utility;"* && "$(key Categories)" == *"Electronics;"* ]] \
    && ok "in Utility and Electronics" || fail "Categories=$(key Categories)"
icon=$(key Icon)
for file in scalable/apps/$icon.svg 256x256/apps/$icon.png; do
    [ -s "$prefix/share/icons/hicolor/$file" ] && ok "icon $file" || fail "no icon $file"
done

png="$prefix/share/icons/hicolor/256x256/apps/$icon.png"
signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
size=$(od -An -tu4 --endian=big -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')
[ "$signature" = "89504e470d0a1a0a" ] && [ "$size" = "256 256" ] && ok "the PNG is 256 x 256" \
    || fail "the PNG: signature $signature, size $size"
grep -q '<svg[^>]*viewBox=' "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" \
    && ok "the SVG scales (viewBox)" || fail "the SVG has no viewBox"

# The installed binaries run from the prefix: the tool keeps running until it is stopped.
"$prefix/bin/radiosim" --help >/dev/null && ok "radiosim --help" || fail "radiosim --help"
config=$(mktemp -d)
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$config" timeout 5 "$prefix/bin/qx284-config" \
    >/dev/null 2>"$config/stderr"
status=$?
[ "$status" -eq 124 ] && ok "the installed tool starts" \
    || { fail "the installed tool ended with status $status"; cat "$config/stderr"; }
rm -rf "$config"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "the install is complete"
