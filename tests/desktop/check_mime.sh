#!/bin/sh
# check_mime.sh UPDATE_MIME_DATABASE XMLLINT GIO|- MIME_XML SAMPLE_D2D SAMPLE_M2D
# The MIME package is well-formed XML, compiles into a MIME database without a message, and the
# database maps *.d2d and *.m2d to their types. Each sample file's first four bytes must be the
# magic its type is recognised by; with gio, a sample renamed without its extension is
# recognised by its content alone.
set -eu
update=$1 xmllint=$2 gio=$3 mime_xml=$4 document=$5 macro=$6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

"$xmllint" --noout "$mime_xml" || status=1

mkdir -p "$work/mime/packages" "$work/home"
cp "$mime_xml" "$work/mime/packages/"
# With the folder on the search path update-mime-database has nothing to say unless the package is
# broken (a package it cannot parse is reported on stderr with exit status 0).
messages=$(XDG_DATA_DIRS=$work XDG_DATA_HOME=$work/home "$update" "$work/mime" 2>&1) || status=1
if [ -n "$messages" ]; then
  printf '%s\n' "$messages"
  status=1
fi

expect_glob() {
  if ! sed 's/^[0-9]*://' "$work/mime/globs2" | grep -qxF "$1:$2"; then
    echo "globs2 does not map $2 to $1:"
    cat "$work/mime/globs2"
    status=1
  fi
}
expect_glob application/x-drex2d-document '*.d2d'
expect_glob application/x-drex2d-macro '*.m2d'

# In the compiled magic file a type's section starts "[priority:type]", and a rule for the first
# bytes reads ">0=", the length of the value as two bytes, then the value. The value must be what
# the sample files really begin with.
hex() { od -An -tx1 -v | tr -d ' \n'; }
magic=$(hex <"$work/mime/magic")
expect_magic() {
  head_bytes=$(head -c 4 "$2" | hex)
  rule=$(printf '%s]\n>0=' "$1" | hex)0004$head_bytes
  case $magic in
  *"$rule"*) ;;
  *)
    echo "the magic of $1 is not the first bytes of $2 ($head_bytes)"
    status=1
    ;;
  esac
}
expect_magic application/x-drex2d-document "$document"
expect_magic application/x-drex2d-macro "$macro"

if [ "$gio" != "-" ]; then
  expect_type() {
    cp "$2" "$work/$3"
    found=$(XDG_DATA_DIRS=$work:/usr/share XDG_DATA_HOME=$work/home "$gio" info -a standard::content-type \
      "$work/$3" | sed -n 's/^ *standard::content-type: //p')
    if [ "$found" != "$1" ]; then
      echo "$3 (a copy of $2) is taken for '$found', not $1"
      status=1
    fi
  }
  expect_type application/x-drex2d-document "$document" lesson.d2d
  expect_type application/x-drex2d-document "$document" lesson-without-extension
  expect_type application/x-drex2d-macro "$macro" steps.m2d
  expect_type application/x-drex2d-macro "$macro" steps-without-extension
fi
exit $status
