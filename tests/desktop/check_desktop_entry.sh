#!/bin/sh
# check_desktop_entry.sh DESKTOP_FILE_VALIDATE DESKTOP_FILE MIME_XML
# The desktop entry passes the validator without a single message, and the MIME types it opens
# are exactly the ones the MIME package defines.
set -eu
validate=$1 entry=$2 mime_xml=$3
status=0

messages=$("$validate" "$entry" 2>&1) || status=1
if [ -n "$messages" ]; then
  printf '%s\n' "$messages"
  status=1
fi

# MimeType=a;b; as one sorted name a line.
opened=$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n' | sed '/^$/d' | sort)
defined=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime_xml" | sort)
if [ -z "$opened" ] || [ "$opened" != "$defined" ]; then
  echo "MimeType of $entry: [$opened]; types of $mime_xml: [$defined]"
  status=1
fi

exec_line=$(sed -n 's/^Exec=//p' "$entry")
if [ "$exec_line" != "drex2d %f" ]; then
  echo "Exec=$exec_line: the program takes one document"
  status=1
fi
exit $status
