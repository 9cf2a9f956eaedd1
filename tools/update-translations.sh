#!/bin/sh
# Refreshes the Chinese catalogues from the sources: lupdate keeps every
# translation already made and drops texts the sources no longer hold; new
# texts listed in resources/translations/pending-texts.tsv, or already
# translated in another class, are then filled in, and whatever is still
# unfinished is listed (exit status 1).
#   sh tools/update-translations.sh
set -eu
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-lupdate}
command -v "$LUPDATE" >/dev/null || { echo "lupdate is missing: install qttools5-dev-tools" >&2; exit 2; }

for lang in zh_CN zh_TW; do
    file=resources/translations/dorvane-$(echo "$lang" | tr 'A-Z_' 'a-z-').ts
    "$LUPDATE" -silent -no-obsolete -locations none -target-language "$lang" \
        app widgets channel -ts "$file"
done
status=0
python3 tools/fill-translations.py --fill resources/translations/pending-texts.tsv \
    resources/translations/dorvane-zh-cn.ts resources/translations/dorvane-zh-tw.ts || status=$?
# Back to the layout lupdate and Qt Linguist write, so diffs stay small.
for file in resources/translations/dorvane-zh-cn.ts resources/translations/dorvane-zh-tw.ts; do
    lconvert -i "$file" -o "$file"
done
exit $status
