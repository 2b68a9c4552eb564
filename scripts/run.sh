#!/usr/bin/env bash
# Starts the program from its program folder, or explains why it cannot.
set -u
exe="$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: Arcavell is a desktop program and needs a graphical session" >&2
  echo "(DISPLAY or WAYLAND_DISPLAY is not set). Start it from your desktop, or run: $exe" >&2
  exit 1
fi
exec "$exe" "${@:2}"
