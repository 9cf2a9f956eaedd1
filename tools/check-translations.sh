#!/bin/sh
# Fails listing every unfinished or empty entry of the Chinese catalogues, and
# every translation whose placeholders differ from its source's.
#   sh tools/check-translations.sh [CATALOGUE...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -gt 0 ] || set -- "$root/resources/translations/dorvane-zh-cn.ts" "$root/resources/translations/dorvane-zh-tw.ts"
exec python3 "$root/tools/fill-translations.py" --check "$@"
