#!/bin/sh
# check_man_page.sh GROFF PAGE
# The manual page formats with every groff warning turned on and not one message.
set -eu
groff=$1 page=$2
messages=$("$groff" -man -Tutf8 -ww -z "$page" 2>&1) || { printf '%s\n' "$messages"; exit 1; }
if [ -n "$messages" ]; then
  printf '%s\n' "$messages"
  exit 1
fi
