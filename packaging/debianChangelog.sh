#!/bin/sh
# Writes the Debian package's changelog from CHANGELOG.md:
#   debianChangelog.sh CHANGELOG.md PACKAGE "MAINTAINER <MAIL>" > changelog
# Each "## VERSION (YYYY-MM-DD)" section becomes one entry dated at noon UTC
# that day; its "- " items become "  * " items, their indented continuation
# lines follow them, and Markdown's back-quotes are dropped.
set -eu
[ $# -eq 3 ] || { echo "usage: $0 CHANGELOG.md PACKAGE 'MAINTAINER <MAIL>'" >&2; exit 2; }
source=$1 package=$2 maintainer=$3

trailer() {
  stamp=$(LC_ALL=C date -u -d "$1 12:00:00" '+%a, %d %b %Y %H:%M:%S +0000') ||
    { echo "$source: '$1' is no date" >&2; exit 1; }
  printf '\n -- %s  %s\n' "$maintainer" "$stamp"
}

version='' date='' entries=0
while IFS= read -r line; do
  case $line in
    '## '*)
      [ -z "$version" ] || { trailer "$date"; echo; }
      version=$(echo "$line" | sed -n 's/^## \([0-9][0-9.]*\) (\([0-9-]*\))$/\1/p')
      date=$(echo "$line" | sed -n 's/^## \([0-9][0-9.]*\) (\([0-9-]*\))$/\2/p')
      [ -n "$version" ] || { echo "$source: '$line' is not '## VERSION (YYYY-MM-DD)'" >&2; exit 1; }
      printf '%s (%s) stable; urgency=medium\n\n' "$package" "$version"
      entries=$((entries + 1)) ;;
    '- '*) [ -z "$version" ] || echo "  * ${line#- }" | tr -d '`' ;;
    '  '*) [ -z "$version" ] || echo "  $line" | tr -d '`' ;;
  esac
done <"$source"
[ "$entries" -gt 0 ] || { echo "$source has no '## VERSION (YYYY-MM-DD)' section" >&2; exit 1; }
trailer "$date"
