#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from the build folder
# (its program folder: templates and settings live beside the executable).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
scripts/build
exec build/labelkobo "$@"
