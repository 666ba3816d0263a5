#!/usr/bin/env bash
# Installs what is missing, builds Pellark and starts it.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/scripts/build.sh"
exec "$top/build/bin/pellark" "$@"
