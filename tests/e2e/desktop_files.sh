#!/usr/bin/env bash
# The menu entry and the software centre's description pass their validators without a
# single remark: no error, warning, hint or pedantic note.
#
#   desktop_files.sh <.desktop file> <.metainfo.xml file>
set -u
status=0
out=$(desktop-file-validate "$1" 2>&1) || status=1
[ -z "$out" ] || { echo "$1:" >&2; echo "$out" >&2; status=1; }
# appstreamcli states its verdict in one line even when it has nothing to say.
out=$(appstreamcli validate --no-net --pedantic "$2" 2>&1) || status=1
[ "$out" = "✔ Validation was successful." ] || { echo "$2:" >&2; echo "$out" >&2; status=1; }
[ $status = 0 ] && echo "PASS: desktop files"
exit $status
