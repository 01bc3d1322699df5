#!/usr/bin/env bash
# Sets up what the game needs on a fresh Debian/Ubuntu machine, builds the game alone
# (no tests, no developer tools) and starts it. Game options (see ./play.sh --help) are
# passed on.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh game
exec build/game/zorbo "$@"
