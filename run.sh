#!/usr/bin/env bash
# Sets up, builds, starts the radio simulator on a pseudo-terminal and opens the tool with
# its port set to it (settings kept under build/, so your own settings are untouched).
# Press CONECTAR in the window to talk to the simulated radio. Simulator options can follow:
#   ./run.sh --master        ./run.sh --hardware 21 --id 7
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
install_missing "${BUILD_PACKAGES[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target qx284-config radiosim

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to open the window on. Without a desktop, try: xvfb-run ./run.sh" >&2
    exit 1
fi

export XDG_CONFIG_HOME="$PWD/build/run-config"
mkdir -p "$XDG_CONFIG_HOME/qx284"
log="build/radiosim.log"
commands="build/radiosim.in"
rm -f "$commands"
mkfifo "$commands"
build/bin/radiosim "$@" <"$commands" >"$log" 2>&1 &
sim_pid=$!
exec 3>"$commands"  # keeps the simulator's input open; `echo msg > build/radiosim.in` works
trap 'kill "$sim_pid" 2>/dev/null || true; rm -f "$commands"' EXIT
pty=""
for _ in $(seq 100); do
    pty=$(head -n 1 "$log" 2>/dev/null || true)
    [ -n "$pty" ] && [ -e "$pty" ] && break
    kill -0 "$sim_pid" 2>/dev/null || { cat "$log" >&2; exit 1; }
    sleep 0.1
done
[ -n "$pty" ] && [ -e "$pty" ] || { echo "The simulator did not start" >&2; exit 1; }
echo "Simulated radio on $pty (its traffic: $log; send it commands with: echo msg > $commands)"
cat >"$XDG_CONFIG_HOME/qx284/ONDAVIA.ini" <<INI
[ComPort1]
Port=$pty
BaudRate=9600
StopBits=1
DataBits=8
Parity=None
FlowControl=None
INI
build/bin/qx284-config
