#!/bin/sh
# Fails listing every unfinished or empty entry of the Chinese catalogues.
#   sh tools/check-translations.sh [CATALOGUE...]
set -eu
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- resources/translations/dorvane-zh-cn.ts resources/translations/dorvane-zh-tw.ts
exec python3 tools/fill-translations.py --check "$@"
