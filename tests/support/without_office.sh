#!/usr/bin/env bash
# Runs a program the way a machine without LibreOffice has it: the office's
# folder is hidden behind an empty one, in a mount namespace of the program's
# own:  without_office.sh office-folder program [arguments...]
# Exits 77 (a skipped test) where no such namespace can be made.
set -u
office=$1
shift
if ! unshare --user --map-root-user --mount true 2>/dev/null; then
  echo "SKIPPED: no user and mount namespace can be made here"
  exit 77
fi
exec unshare --user --map-root-user --mount sh -c 'mount -t tmpfs none "$0" && exec "$@"' "$office" "$@"
