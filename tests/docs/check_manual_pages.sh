#!/bin/sh
# The welcome window sends a new user to pages 1 to 3 of the manual's body,
# "sheets 4 to 6", for the basic terms and the fonts. Checks the built PDF:
# sheet 4 is body page 1 and begins the basic terms, the fonts chapter is on
# sheets 4 to 6, and the chapter after it begins on sheet 7.
#   check_manual_pages.sh MANUAL.pdf MANUAL.md
set -eu
pdf=$1
source=$2
sheet() { pdftotext -layout -f "$1" -l "$1" "$pdf" - ; }
fail() { echo "check_manual_pages: $*" >&2; exit 1; }
chapter() {
  sed -n '/^<!-- body -->/,$p' "$source" | grep '^# ' | sed -n "$1p" | sed 's/^# //'
}
first=$(chapter 1)
second=$(chapter 2)
third=$(chapter 3)
[ "$first" = "基本的な用語と使い方" ] || fail "the body begins with \"$first\""
[ "$second" = "フォントのインストール" ] || fail "the second chapter is \"$second\""
sheet 4 | grep -q "$first" || fail "sheet 4 does not hold \"$first\""
sheet 4 | grep -q -- "— *1 *—" || fail "sheet 4 is not page 1"
{ sheet 4; sheet 5; sheet 6; } | grep -q "$second" || fail "\"$second\" is not on sheets 4 to 6"
sheet 7 | grep -q "$third" || fail "\"$third\" does not begin on sheet 7"
echo "check_manual_pages: $first and $second on sheets 4 to 6"
