#!/usr/bin/env bash
# Sets everything up on a fresh Debian/Ubuntu machine and starts the game.
# Game options (see ./play.sh --help) are passed on.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh release
exec build/release/zorbo "$@"
