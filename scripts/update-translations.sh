#!/usr/bin/env bash
# Refreshes the interface's translation tables (translations/vesk_<code>.ts)
# from the sources: every text a view looks up through Localizer
# (localizer.translate("Context", "German text") or QT_TRANSLATE_NOOP) gets an
# entry, new ones marked unfinished, and entries whose text left the sources
# are dropped. Translate the unfinished entries afterwards (Qt Linguist or an
# editor); the TranslationTables test fails until every entry is finished.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
lupdate="${LUPDATE:-$(command -v lupdate6 || echo /usr/lib/qt6/bin/lupdate)}"

cd "$root"
for code in en it fr es; do
    "$lupdate" -silent -source-language de -target-language "$code" -locations none -no-obsolete \
        src -ts "translations/vesk_$code.ts"
done
