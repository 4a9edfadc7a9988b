#!/bin/sh
# Every text the program marks for translation is translated in every
# catalog, and every catalog compiles with its formats checked: a new text
# added without its translations fails here, not in front of a user.
# usage: catalog_test.sh SOURCE-DIR
set -u
source_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
sh "$source_dir/scripts/update-pot.sh" "$scratch/kronalt.pot" 2>"$scratch/xgettext.log" || {
    cat "$scratch/xgettext.log"; exit 1; }
grep -q '^msgid "E&xit"' "$scratch/kronalt.pot" || { echo "FAIL: the template lacks the window's texts"; exit 1; }
for po in "$source_dir"/po/*.po; do
    lang=$(basename "$po" .po)
    msgfmt --check -o /dev/null "$po" || { echo "FAIL: $lang.po does not compile"; status=1; }
    # Untranslated and fuzzy entries count as missing.
    msgcmp "$po" "$scratch/kronalt.pot" || { echo "FAIL: $lang.po lacks translations"; status=1; }
done
# The template in the repository is the one the sources make (make pot).
msgcmp --use-untranslated "$source_dir/po/kronalt.pot" "$scratch/kronalt.pot" &&
    msgcmp --use-untranslated "$scratch/kronalt.pot" "$source_dir/po/kronalt.pot" ||
    { echo "FAIL: po/kronalt.pot is out of date: run make pot"; status=1; }
exit $status
