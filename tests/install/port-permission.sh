#!/usr/bin/env bash
# Opens serial devices as an unprivileged user, as a technician's account would, and checks
# what the error box says: the system's words, the device's group and the command to join it;
# then that joining the group is indeed what lets the port open.
# Usage: port-permission.sh OPENPORT_HELPER   (exit 77: skipped)
set -uo pipefail
helper=$1
export LC_ALL=C.UTF-8
user=nobody

if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null || ! getent group dialout >/dev/null \
    || ! getent passwd "$user" >/dev/null; then
    echo "skipped: needs root, setpriv (util-linux), the group dialout and the user $user"
    exit 77
fi
as_user() { setpriv --reuid="$user" --regid="$(id -g "$user")" "$@"; }

failures=0
expect() { # description, output, expected text
    if [[ "$2" == *"$3"* ]]; then
        echo "ok   - $1"
    else
        echo "FAIL - $1: expected to see"; echo "       $3"; echo "     in:"; echo "$2" | sed 's/^/       /'
        failures=$((failures + 1))
    fi
}

coproc HOLD { exec "$helper" hold dialout; }
hold_pid=$HOLD_PID
read -r -t 10 pty <&"${HOLD[0]}" || { echo "FAIL - no pseudo-terminal"; exit 1; }
ls -l "$pty"

out=$(as_user --clear-groups "$helper" open "$pty")
expect "outside the group: refused in the system's words" "$out" \
    "Não foi possível abrir a porta $pty: Permission denied"
expect "outside the group: names the device's group" "$out" \
    "não tem permissão para usar $pty, que pertence ao grupo \"dialout\""
expect "outside the group: the command to join it" "$out" "sudo usermod -aG dialout $user"

out=$(as_user --groups=dialout "$helper" open "$pty")
expect "in the group: the port opens" "$out" "aberta"

# A device whose group may not open it (or is root): joining would not help.
dir=$(mktemp -d)
chmod 0755 "$dir"
mknod "$dir/ttyQX0" c 1 3 2>/dev/null || : >"$dir/ttyQX0"
chown root:root "$dir/ttyQX0"
chmod 0600 "$dir/ttyQX0"
out=$(as_user --clear-groups "$helper" open "$dir/ttyQX0")
expect "group may not open it: ask the administrator" "$out" \
    "não tem permissão para usar $dir/ttyQX0 (dono: root, grupo: root). Peça acesso ao administrador do sistema"
if [[ "$out" == *usermod* ]]; then
    echo "FAIL - group may not open it: must not advise joining a group"; failures=$((failures + 1))
fi
rm -rf "$dir"

fd=${HOLD[1]}
exec {fd}>&-
wait "$hold_pid" 2>/dev/null
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all permission checks passed"
