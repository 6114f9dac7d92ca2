#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that a file manager
# would open report files with the viewer: both programs, the desktop entry
# naming the report type, and the MIME type matching *.rpt and *.RPT once the
# MIME database is rebuilt.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "install check: $*" >&2; exit 1; }

for program in rptview rpt; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not installed in bin"
done

desktop=$prefix/share/applications/rptview.desktop
[ -f "$desktop" ] || fail "no desktop entry"
grep -qx 'Exec=rptview %f' "$desktop" || fail "the desktop entry does not start rptview with the file"
grep -qx 'MimeType=application/x-rpt-report;' "$desktop" || fail "the desktop entry names no report type"

[ -f "$prefix/share/mime/packages/rptview.xml" ] || fail "no MIME type definition"
update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail "update-mime-database refused the definition"
globs=$prefix/share/mime/globs2
grep -q ':application/x-rpt-report:\*\.rpt$' "$globs" || fail "*.rpt is not matched"
grep -q ':application/x-rpt-report:\*\.RPT:cs$' "$globs" || fail "*.RPT is not matched"
echo "install check: rptview opens *.rpt and *.RPT"
