#!/bin/sh
# check_install.sh CMAKE BUILD_DIR PROGRAM SOURCE_DIR VERSION SAMPLE_D2D APPSTREAMCLI|-
# Installs the build into a scratch prefix, checks that every shipped file is where the desktop
# and the program look for it, and runs the installed program without a display: --version and a
# PNG export must work there. With appstreamcli the installed tree is validated as a whole too:
# the AppStream file together with the desktop entry and the icons it leads to.
set -eu
cmake=$1 build=$2 program=$3 source=$4 version=$5 sample=$6 appstreamcli=$7
program_dir=$(dirname "$program")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
status=0

if [ ! -x "$program" ]; then
  echo "$program is not built"
  exit 1
fi
"$cmake" --install "$build" --prefix "$prefix" >"$prefix/install.log" 2>&1 || {
  cat "$prefix/install.log"
  exit 1
}

expect_file() {
  if [ ! -f "$prefix/$1" ]; then
    echo "not installed: $1"
    status=1
  fi
}
for file in bin/drex2d share/drex2d/drex2eng.lng share/applications/drex2d.desktop \
  share/mime/packages/drex2d.xml share/metainfo/io.github.drex2d.DREX2D.metainfo.xml \
  share/icons/hicolor/scalable/apps/drex2d.svg \
  share/icons/hicolor/scalable/mimetypes/application-x-drex2d-document.svg \
  share/man/man1/drex2d.1 share/doc/drex2d/LICENSE; do
  expect_file "$file"
done
for size in 16 22 24 32 48 64 128 256; do
  expect_file "share/icons/hicolor/${size}x$size/apps/drex2d.png"
  expect_file "share/icons/hicolor/${size}x$size/mimetypes/application-x-drex2d-document.png"
done
if [ ! -x "$prefix/bin/drex2d" ]; then
  echo "bin/drex2d is not executable"
  status=1
fi

if [ "$appstreamcli" != "-" ]; then
  report=$("$appstreamcli" validate-tree --no-net --no-color "$prefix" 2>&1) || status=1
  if printf '%s\n' "$report" | grep -q '^ *[EWI]:'; then status=1; fi
  if [ $status -ne 0 ]; then printf '%s\n' "$report"; fi
fi

# Whatever help pages and example macros the source holds are installed, and copied beside the
# built program too.
for pattern in help/*.html help/*.css help/*.png help/*.svg Macro/*.m2d; do
  for file in "$source"/data/$pattern; do
    [ -f "$file" ] || continue
    relative=${file#"$source"/data/}
    expect_file "share/drex2d/$relative"
    if ! cmp -s "$file" "$program_dir/$relative"; then
      echo "not copied beside the built program: $relative"
      status=1
    fi
  done
done

# No display of any kind: an export must not need one.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME="$prefix/home"

printed=$("$prefix/bin/drex2d" --version) || {
  echo "drex2d --version failed"
  status=1
}
if [ "$printed" != "DREX-2D $version" ]; then
  echo "drex2d --version printed '$printed', not 'DREX-2D $version'"
  status=1
fi

if "$prefix/bin/drex2d" --export-png "$prefix/out.png" "$sample"; then
  signature=$(head -c 8 "$prefix/out.png" 2>/dev/null | od -An -tx1 | tr -d ' \n')
  if [ "$signature" != 89504e470d0a1a0a ]; then
    echo "the export wrote no PNG (first bytes: '$signature')"
    status=1
  fi
else
  echo "drex2d --export-png failed with exit status $?"
  status=1
fi
exit $status
