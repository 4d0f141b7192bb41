#!/bin/bash
# `cpack -G DEB` makes tellumo_<version>_<arch>.deb holding exactly the
# installed program (no test, benchmark or fuzz program), with sound
# permissions, the libraries and fonts it needs as dependencies, and no
# error from lintian. The package is made in a scratch folder, not in the
# build folder.
#
#   debian_package.sh CPACK BUILD_DIR
set -u
cpack=$1
build=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for tool in dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file; do
  command -v "${tool%%:*}" > /dev/null ||
    fail "${tool%%:*} is missing (Debian package ${tool##*:}): this test needs it"
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tellumo-deb.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && "$cpack" -G DEB -B "$scratch") > "$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB failed"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
deb=$scratch/tellumo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$scratch" >&2; fail "no $(basename "$deb")"; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# --- Contents: these files and nothing else, owned by root, 0644 and 0755 ---
dpkg-deb -c "$deb" > "$scratch/contents" || fail "dpkg-deb -c failed"
expected="./usr/bin/tellumo
./usr/share/applications/tellumo.desktop
./usr/share/doc/tellumo/changelog.gz
./usr/share/doc/tellumo/copyright
./usr/share/icons/hicolor/256x256/apps/tellumo.png
./usr/share/icons/hicolor/scalable/apps/tellumo.svg
./usr/share/man/man1/tellumo.1.gz
./usr/share/metainfo/com.verdanta.tellumo.metainfo.xml
./usr/share/tellumo/DATADIP.TXT
./usr/share/tellumo/DATAVES.TXT
./usr/share/tellumo/DATAWEN.TXT
./usr/share/tellumo/Manual/TELLUMO6_ES.PDF
./usr/share/tellumo/Manual/TELLUMO6_FR.PDF
./usr/share/tellumo/Manual/TELLUMO6_US.PDF"
files=$(awk '$1 !~ /^d/ { print $6 }' "$scratch/contents" | sort)
if [ "$files" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$files") >&2
  fail "the package does not hold the expected files (< missing, > unexpected)"
fi
# Mode, owner and path of each entry: directories and the program 0755,
# other files 0644, everything root's.
awk '{
  want = ($1 ~ /^d/ || $6 == "./usr/bin/tellumo") ? "rwxr-xr-x" : "rw-r--r--"
  if (substr($1, 2) != want || $2 != "root/root") print
}' "$scratch/contents" > "$scratch/bad-modes"
[ -s "$scratch/bad-modes" ] && { cat "$scratch/bad-modes" >&2; fail "entries with the wrong mode or owner"; }
# No empty directory: each one holds some entry.
awk '$1 ~ /^d/ { print $6 }' "$scratch/contents" | while read -r d; do
  grep -q " ${d}." "$scratch/contents" || fail "empty directory $d"
done || exit 1

# --- Control fields --------------------------------------------------------
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -Eq '(^|, )fonts-liberation(,|$| )' <<< "$depends" || fail "Depends lacks fonts-liberation"
for lib in libqt6core6 libqt6gui6 libqt6widgets6; do
  grep -Eq "(^|, )$lib " <<< "$depends" || fail "Depends lacks $lib (dpkg-shlibdeps)"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = "xdg-utils, qt6-translations-l10n" ] ||
  fail "Recommends is not xdg-utils, qt6-translations-l10n"
[ "$(dpkg-deb -f "$deb" Section)" = science ] || fail "Section is not science"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"

# --- lintian: no error ------------------------------------------------------
if command -v lintian > /dev/null; then
  lintian --tag-display-limit 0 "$deb" > "$scratch/lintian" 2>&1
  cat "$scratch/lintian"
  grep -q '^E: ' "$scratch/lintian" && fail "lintian reports errors"
else
  echo "lintian is not installed (Debian package lintian): its check is skipped"
fi
echo "PASS"
