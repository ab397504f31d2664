#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a screen reader meets it: on a virtual display, with its own
# D-Bus session and accessibility bus, walk.py reads its AT-SPI tree. Usage:
# run.sh PROGRAM. Exits 77 (skipped) when the tools it needs are missing.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${QUILLKIT98_ATSPI_SESSION:-}" ]; then
    for tool in xvfb-run dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is missing"; exit 77; }
    QUILLKIT98_ATSPI_SESSION=1 exec xvfb-run -a -s "-screen 0 1280x900x24" dbus-run-session -- "$0" "$@"
fi

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=C.UTF-8
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
work=$(mktemp -d)
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
started=()
trap 'kill "${started[@]}" "$bus" 2>/dev/null || true; rm -rf "$work"' EXIT
# A program started before the accessibility bus answers stays off it.
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
done

status=0
# The main window as it starts.
"$program" --no-splash >"$work/window.log" 2>&1 &
started+=($!)
/usr/bin/python3 "$here/walk.py" window || { status=1; cat "$work/window.log"; }
kill "${started[-1]}" 2>/dev/null || true

# An error box: code that no tool can hold, read in at the start.
printf 'Sub Main\r\nEnd Sub\r\n' >"$work/nothing.bas"
"$program" --no-splash --read-file "$work/nothing.bas" >"$work/alert.log" 2>&1 &
started+=($!)
/usr/bin/python3 "$here/walk.py" alert "cannot be read into the tools" || { status=1; cat "$work/alert.log"; }
exit $status
