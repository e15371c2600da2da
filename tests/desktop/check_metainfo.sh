#!/bin/sh
# check_metainfo.sh APPSTREAMCLI METAINFO DESKTOP_DIR MIME_XML
# The AppStream file validates offline with no error or warning (pedantic notes are allowed), the
# desktop entry it launches is one that is shipped, and the media types it provides are the ones
# the MIME package defines.
set -eu
appstreamcli=$1 metainfo=$2 desktop_dir=$3 mime_xml=$4
status=0

report=$("$appstreamcli" validate --no-net --no-color "$metainfo" 2>&1) || status=1
# Each finding starts with its severity: E error, W warning, I info, P pedantic.
if printf '%s\n' "$report" | grep -q '^[EWI]:'; then status=1; fi
if [ $status -ne 0 ]; then printf '%s\n' "$report"; fi

launched=$(sed -n 's/.*<launchable type="desktop-id">\([^<]*\)<.*/\1/p' "$metainfo")
if [ -z "$launched" ] || [ ! -f "$desktop_dir/$launched" ]; then
  echo "the launchable desktop entry '$launched' is not in $desktop_dir"
  status=1
fi

provided=$(sed -n 's/.*<mediatype>\([^<]*\)<.*/\1/p' "$metainfo" | sort)
defined=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime_xml" | sort)
if [ -z "$provided" ] || [ "$provided" != "$defined" ]; then
  echo "mediatypes of $metainfo: [$provided]; types of $mime_xml: [$defined]"
  status=1
fi
exit $status
