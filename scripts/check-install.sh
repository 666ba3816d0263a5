#!/usr/bin/env bash
# Checks what a user installs: `cmake --install` into a DESTDIR and into a plain prefix, the
# installed programs (pellark-run must find its boot image and the program database in
# share/pellark/; pellark's command line), the desktop entry, the software-centre metadata, the
# file type and the manual pages, then builds the Debian package and lists its contents and
# dependencies. Runs on a finished build (by default build/, as scripts/test.sh leaves it).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$top/build}
start=$SECONDS
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "check-install: $*" >&2
  exit 1
}

# A program that draws one row of four lit pixels at the top left and idles.
printf '\xA2\x06\xD0\x01\x12\x04\xF0' >"$work/row.ch8"

database_files=(programs.json sha1-hashes.json platforms.json quirks.json)
# The programs look for the user's own database in XDG_DATA_HOME first: one with none, so that
# the installed copy is what they find, and one with a damaged copy, which counts as none.
no_user_copy=$work/no-user-copy
damaged_copy=$work/damaged-copy
mkdir -p "$no_user_copy" "$damaged_copy/pellark/chip-8-database"
printf '[{"title": ' >"$damaged_copy/pellark/chip-8-database/programs.json"
# What --version says of the database the build tree's programs find, which the installed ones
# must find too; never "none", and as many files as the index lists.
database_line=$(XDG_DATA_HOME=$no_user_copy "$build/bin/pellark-run" --version | sed -n 2p)
files=$(grep -cE '^ *"[0-9a-f]{40}" *:' "$build/bin/chip-8-database/sha1-hashes.json")
[[ $database_line =~ ^"program database: "[0-9]+" programs, $files files"$ ]] ||
  fail "the build tree's database: \"$database_line\", $files files in its index"

# Help and version need no display; a bad argument gets one line and status 2 once Qt has
# taken its own options.
check_desktop_command_line() {
  local pellark=$1 status refusal
  [[ $(env -u DISPLAY -u WAYLAND_DISPLAY "$pellark" --help game.ch8) == "Plays CHIP-8"* ]] ||
    fail "pellark --help"
  local version
  version=$(XDG_DATA_HOME=$no_user_copy env -u DISPLAY -u WAYLAND_DISPLAY "$pellark" \
    -platform offscreen --version)
  [[ $version == "pellark (Pellark) "* && $(sed -n 2p <<<"$version") == "$database_line" ]] ||
    fail "pellark --version: \"$version\""
  for bad in --bogus "one.ch8 two.ch8"; do
    status=0
    # shellcheck disable=SC2086 # two arguments in one case
    refusal=$(XDG_RUNTIME_DIR=$work "$pellark" -platform offscreen -style fusion $bad 2>&1) ||
      status=$?
    [[ $status -eq 2 && $refusal == "pellark: "* && $(wc -l <<<"$refusal") -eq 1 ]] ||
      fail "pellark $bad: status $status, \"$refusal\""
  done
}

check_tree() {
  local root=$1 prefix=$2
  echo "== installed under $prefix"
  [[ -e $root/bin/Chip8.rom ]] && fail "the boot image is beside the programs in $prefix/bin"
  for file in bin/pellark bin/pellark-run share/pellark/Chip8.rom \
    share/applications/org.pellark.Pellark.desktop \
    share/icons/hicolor/scalable/apps/org.pellark.Pellark.svg \
    share/icons/hicolor/48x48/apps/org.pellark.Pellark.png \
    share/icons/hicolor/128x128/apps/org.pellark.Pellark.png \
    share/mime/packages/org.pellark.Pellark.xml \
    share/metainfo/org.pellark.Pellark.metainfo.xml \
    share/man/man1/pellark.1.gz share/man/man1/pellark-run.1.gz \
    share/doc/pellark/README.md share/doc/pellark/LICENSE share/doc/pellark/CREDITS.md \
    share/doc/pellark/chip-8-database-LICENSE.md \
    "${database_files[@]/#/share/pellark/chip-8-database/}"; do
    [[ -f $root/$file ]] || fail "$prefix/$file is not installed"
  done
  # The installed programs find the installed database, unless the user has a copy of their own.
  local line
  line=$(XDG_DATA_HOME=$no_user_copy "$root/bin/pellark-run" --version | sed -n 2p)
  [[ $line == "$database_line" ]] || fail "the installed pellark-run --version: \"$line\""
  line=$(XDG_DATA_HOME=$damaged_copy "$root/bin/pellark-run" --version | sed -n 2p)
  [[ $line == "program database: none" ]] ||
    fail "the installed pellark-run with a damaged user copy: \"$line\""
  # The boot program draws its splash only when the boot image was found.
  local splash
  splash=$("$root/bin/pellark-run" -n 2000 --screen 2>&1)
  grep -q "Can't read the rom file" <<<"$splash" && fail "the installed pellark-run has no boot image"
  [[ $(tr -cd '#' <<<"$splash" | wc -c) -gt 100 ]] || fail "the installed boot program drew nothing"
  [[ $("$root/bin/pellark-run" -n 10 --screen "$work/row.ch8" | head -1) == "####"* ]] ||
    fail "the installed pellark-run did not run the program"
  check_desktop_command_line "$root/bin/pellark"
}

echo "== cmake --install with DESTDIR, prefix /usr"
DESTDIR=$work/destdir cmake --install "$build" --prefix /usr >/dev/null
check_tree "$work/destdir/usr" /usr
echo "== cmake --install, prefix $work/prefix"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_tree "$work/prefix" "$work/prefix"

share=$work/destdir/usr/share
echo "== desktop entry, metadata, file type"
desktop-file-validate "$share/applications/org.pellark.Pellark.desktop"
appstreamcli validate --no-net "$share/metainfo/org.pellark.Pellark.metainfo.xml"
# It notes on standard error that the staging folder is not on the search path.
update-mime-database "$share/mime" 2>/dev/null || fail "the file type cannot be read"
grep -qx 'application/x-chip8:\*\.ch8' "$share/mime/globs" || fail "*.ch8 is not application/x-chip8"

echo "== manual pages"
for page in pellark pellark-run; do
  warnings=$(MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null || true)
  [[ -z $warnings ]] || fail "$page.1: $warnings"
  # Every option the program lists is described in its page.
  text=$(MANWIDTH=200 man -l "$share/man/man1/$page.1.gz" 2>/dev/null)
  for option in $("$build/bin/$page" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    grep -qF -- "$option" <<<"$text" || fail "$page.1 does not describe $option"
  done
done

echo "== Debian package"
rm -f "$build"/pellark_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/pellark_*_amd64.deb)
dpkg-deb --info "$package"
contents=$(dpkg-deb --contents "$package")
echo "$contents"
depends=$(dpkg-deb --field "$package" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libpng16-16 libgif7 libsdl2-2.0-0 libc6; do
  grep -q "$library" <<<"$depends" || fail "the package does not depend on $library"
done
for file in ./usr/bin/pellark ./usr/bin/pellark-run ./usr/share/pellark/Chip8.rom \
  ./usr/share/applications/org.pellark.Pellark.desktop \
  ./usr/share/doc/pellark/chip-8-database-LICENSE.md \
  "${database_files[@]/#/./usr/share/pellark/chip-8-database/}"; do
  grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done
echo "$(basename "$package"): $(stat -c %s "$package") bytes; Depends: $depends"
echo "check-install: all checks passed in $((SECONDS - start)) s"
