#!/bin/sh
# Writes the message template of every text the program shows the user,
# taken from the sources by xgettext: Tr and WxTr mark a shown text, TrNoop
# one defined in one place and translated where it is shown.
# Usage: scripts/update-pot.sh [OUTPUT]   (default po/kronalt.pot)
set -eu
cd "$(dirname "$0")/.."
out=${1:-po/kronalt.pot}
version=$(sed -n 's/^project(Kronalt VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
find app Core -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >"$out.files"
xgettext --language=C++ --from-code=UTF-8 --files-from="$out.files" \
    --keyword= --keyword=Tr --keyword=WxTr --keyword=TrNoop \
    --add-comments=TRANSLATORS: --add-location=file --sort-by-file \
    --package-name=Kronalt --package-version="$version" \
    --msgid-bugs-address=kronalt@example.org --output="$out.new"
rm -f "$out.files"
# The creation date changes every run; a template whose texts did not change
# is left alone, so it does not show up as changed.
if [ -f "$out" ] && diff -q -I '^"POT-Creation-Date:' "$out" "$out.new" >/dev/null; then
    rm -f "$out.new"
else
    mv "$out.new" "$out"
fi
