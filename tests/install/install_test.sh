#!/usr/bin/env bash
# Installs the .deb into a temporary root and runs the programs from there, as
# a technician's machine would: the version, the command line's help, the
# simulated decoder, and the first start filling the settings folder.
set -euo pipefail
build=$1
deb=$(ls "$build"/velarix_*.deb 2>/dev/null | head -n 1 || true)
# A package older than the programs it should hold is made again.
if [ -z "$deb" ] || [ "$build/bin/velarix-cli" -nt "$deb" ] || [ "$build/bin/velarix" -nt "$deb" ]; then
  cmake --build "$build" --target package >/dev/null
  deb=$(ls "$build"/velarix_*.deb | head -n 1)
fi
root=$(mktemp -d)
trap 'kill $sim 2>/dev/null || true; rm -rf "$root"' EXIT
sim=
dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin
export XDG_CONFIG_HOME=$root/config HOME=$root/home QT_QPA_PLATFORM=offscreen

fail() { echo "install test: $*" >&2; exit 1; }

[ "$("$bin/velarix" --version)" = "Velarix v4.05" ] || fail "velarix --version"
"$bin/velarix-cli" help | grep -q "^usage: velarix-cli" || fail "velarix-cli help"
for f in usr/share/applications/velarix.desktop usr/share/icons/hicolor/scalable/apps/velarix.svg \
         usr/share/icons/hicolor/48x48/apps/velarix.png usr/share/man/man1/velarix-cli.1 \
         usr/share/bash-completion/completions/velarix-cli usr/share/velarix/samples/sample-flash.bin; do
  [ -s "$root/$f" ] || fail "missing $f"
done
grep -q "eeprom read" "$root/usr/share/man/man1/velarix-cli.1" || fail "the man page lacks the commands"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "the package does not depend on Qt"
dpkg-deb -f "$deb" Description | grep -q "^ firmware over the parallel port" ||
  fail "the package description is not the text written"

"$bin/velarix-cli" sim >"$root/sim.out" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -s "$root/sim.out" ] && break; sleep 0.05; done
path=$(head -n 1 "$root/sim.out")
[ -c "$path" ] || fail "velarix-cli sim printed no pseudo-terminal: $(cat "$root/sim.out")"
"$bin/velarix-cli" eeprom read -o "$root/box.txt" --port "$path" 2>/dev/null || fail "eeprom read from the installed simulator"
[ "$(grep -c . "$root/box.txt")" -ge 128 ] || fail "the EEPROM file is short"
[ -f "$root/config/Velarix/Velarix.ini" ] || fail "the first start did not fill the settings folder"
echo "Idioma=1" >>"$root/config/Velarix/Velarix.ini"
rm "$root/config/Velarix/English.ini"
"$bin/velarix-cli" version >/dev/null || fail "velarix-cli version"
[ -f "$root/config/Velarix/English.ini" ] || fail "a file missing from the settings folder was not copied again"
grep -q "^Idioma=1" "$root/config/Velarix/Velarix.ini" || fail "the person's settings were replaced"
"$bin/velarix-cli" tables export -i "$root/usr/share/velarix/samples/sample-flash.bin" --format text \
    -o "$root/channels.txt" 2>/dev/null || fail "tables export of the installed sample table"
echo "installed and ran from $deb"
