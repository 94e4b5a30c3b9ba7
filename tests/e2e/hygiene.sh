#!/usr/bin/env bash
# Fails, listing them, when desktop tests left a process, a mount or a folder behind.
#   hygiene.sh [--suite ID]
exec /usr/bin/python3 "$(dirname "$0")/hygiene.py" "$@"
