#!/usr/bin/env bash
# The installer as an administrator uses it, under Wine, in a prefix of the test's own (with
# no desktop entries written on this machine): a silent install and what it leaves (files,
# Start menu, the .pnt file type, the map-object key); a point file opened through the file
# type; an upgrade to a higher version while the editor runs; the older version refused;
# uninstall removing what it installed and nothing else; another program's .pnt left alone.
#   msi_test.sh <build dir> <source dir> <version> Ostrel.exe Quorvin2.exe pnt.exe setup_actions.dll
set -euo pipefail
build_dir=$1 source_dir=$2 version=$3 ostrel=$4 helper=$5 pnt=$6 actions=$7

. "$source_dir/scripts/end-to-end-lib.sh"
with_display "$@"
work="$build_dir/msi-test"
rm -rf "$work"
mkdir -p "$work/points" "$build_dir/screenshots"

# Two versions, the second one's third field higher, as a release would bump it.
IFS=. read -r major minor patch <<<"$version"
newer="$major.$minor.$((patch + 1))"
"$source_dir/packaging/make-msi.sh" "$work/old.msi" "$version" "$ostrel" "$helper" "$pnt" "$actions" "$source_dir"
"$source_dir/packaging/make-msi.sh" "$work/new.msi" "$newer" "$ostrel" "$helper" "$pnt" "$actions" "$source_dir"
# A rebuild of the newer version: a product code of its own, the same version.
"$source_dir/packaging/make-msi.sh" "$work/rebuilt.msi" "$newer" "$ostrel" "$helper" "$pnt" "$actions" "$source_dir"

# The prefix: a copy of the build's (scripts/wine-run.sh sets it up), or a new one.
prefix="$work/prefix"
if [ -f "$build_dir/wineprefix/.ostrel-ready" ]; then cp -a "$build_dir/wineprefix" "$prefix"; fi
# The backups other tests' saves left in the build's prefix are no user data of this test's.
rm -rf "$prefix"/drive_c/users/*/AppData/Local/Ostrel
export OSTREL_WINEPREFIX=$prefix WINEDLLOVERRIDES="winemenubuilder.exe=d"
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null || true' EXIT
run() { "$source_dir/scripts/wine-run.sh" "$@"; }
# msiexec ACTION PACKAGE: silently, with a verbose log for a failure to show.
step=0
msiexec() { step=$((step + 1)); (cd "$work" && run msiexec "$@" /qn /l*v "$step-${1#/}-${2%.msi}.log"); }
# A registry key's (or with a name, a value's) data lines, without Windows line ends.
query() { run reg query "$@" 2>/dev/null | tr -d '\r'; }
has_key() { run reg query "$@" >/dev/null 2>&1; }
default_of() { query "$1" /ve | sed -n 's/^ *(Default) *REG_SZ *//p'; }
installations() { query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s |
                    grep -A1 'DisplayName *REG_SZ *Ostrel$' | sed -n 's/^ *DisplayVersion *REG_SZ *//p'; }
drive_c_files() { (cd "$prefix/drive_c" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o -print | sort); }

# (The first wine command sets a new prefix up.)
has_key 'HKCR\.pnt' && fail ".pnt has an owner before the installation"
programs="$prefix/drive_c/Program Files/Ostrel"
# Wine puts a per-machine installation's shortcuts in the installing user's menu.
menu=$(echo "$prefix"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs)
before=$(drive_c_files)

# Installed silently: the files, the shortcuts, the file type and the map-object key.
msiexec /i old.msi || fail "the installation failed"
expected=$( { printf '%s\n' Ostrel.exe Quorvin2.exe README-en.txt README-ja.txt pnt.exe
              for i in $(seq -w 1 55); do echo "mark$i.ico"; done; } | sort)
[ "$(ls "$programs")" = "$expected" ] || fail "Program Files\\Ostrel holds other files: $(ls "$programs" | tr '\n' ' ')"
cmp -s "$programs/Ostrel.exe" "$ostrel" || fail "Ostrel.exe is not the build's"
for shortcut in "Ostrel.lnk" "Ostrel README (Japanese).lnk"; do
  [ -f "$menu/$shortcut" ] || fail "no Start menu entry $shortcut"
done
[ "$(default_of 'HKCR\.pnt')" = Ostrel.PointFile ] || fail ".pnt is not Ostrel's"
[ "$(default_of 'HKCR\Ostrel.PointFile')" = "Registered point file" ] || fail "the file type has no description"
[ "$(default_of 'HKCR\Ostrel.PointFile\shell\open\command')" = '"C:\Program Files\Ostrel\Ostrel.exe" "%1"' ] ||
  fail "the open command is $(default_of 'HKCR\Ostrel.PointFile\shell\open\command')"
[ "$(default_of 'HKCR\Ostrel.PointFile\DefaultIcon')" = 'C:\Program Files\Ostrel\Ostrel.exe,0' ] || fail "no file type icon"
has_key 'HKCR\.pnt\OpenWithProgids' /v Ostrel.PointFile || fail "Ostrel is not in Open with"
has_key 'HKLM\Software\Brannock\Merlow' /reg:32 || fail "no map-object key in the 32-bit view"
has_key 'HKLM\Software\Brannock' /reg:64 && fail "a map-object key in the 64-bit view"

# A point file opened through the file type, from its own folder, which holds no icons: the
# editor shows it with the installed icons.
cp "$source_dir/samples/sample.pnt" "$work/points/"
(cd "$work/points" && run start /wait sample.pnt) &
started=$!
window=$(find_window Ostrel 30) || fail "opening sample.pnt started no Ostrel window"
sleep 1.5
shoot "$window" "$build_dir/screenshots/msi-opened.png"
# The icon column of the first row, sample.pnt's icon 01: the installed red mark, not the
# grey built-in stand-in.
red=$(convert "$build_dir/screenshots/msi-opened.png" -crop "16x24+$((frame_x + 6))+$((frame_y + 65))" +repage \
        -fx 'r > 0.6 && g < 0.35 && b < 0.35' -format '%[fx:int(mean*w*h)]' info:)
[ "$red" -gt 40 ] || fail "sample.pnt's first point shows no installed icon ($red red pixels)"

# The upgrade, while that editor runs: it is asked to close, and one installation remains.
msiexec /i new.msi || fail "the upgrade failed"
for _ in $(seq 50); do kill -0 "$started" 2>/dev/null || break; sleep 0.1; done
kill -0 "$started" 2>/dev/null && fail "the upgrade left Ostrel running"
[ "$(installations)" = "$newer" ] || fail "installed after the upgrade: $(installations | tr '\n' ' ')"
# The older version over it is refused and changes nothing.
msiexec /i old.msi && fail "the older version was installed over the newer one"
[ "$(installations)" = "$newer" ] || fail "installed after the refused downgrade: $(installations | tr '\n' ' ')"

# The user's data: the map-object values and the folders under the profile stay.
run reg add 'HKLM\Software\Brannock\Merlow' /reg:32 /v MapObject /d tiles /f >/dev/null 2>&1
local_data=$(echo "$prefix"/drive_c/users/*/AppData/Local)
mkdir -p "$local_data/Ostrel/Backups" "$local_data/Ostrel/TileCache"
msiexec /x new.msi || fail "the uninstallation failed"
[ -z "$(installations)" ] || fail "still installed after uninstall: $(installations)"
for key in 'HKCR\.pnt' 'HKCR\Ostrel.PointFile'; do has_key "$key" && fail "uninstall left $key"; done
[ "$(query 'HKLM\Software\Brannock\Merlow' /reg:32 /v MapObject | sed -n 's/^ *MapObject *REG_SZ *//p')" = tiles ] ||
  fail "uninstall took the map-object values"
rm -r "$local_data/Ostrel" || fail "uninstall took the user's Ostrel folders"
diff <(echo "$before") <(drive_c_files) || fail "uninstall did not leave drive C: as it was"

# .pnt belonging to another program: Ostrel only joins Open with, and leaves it on removal.
run reg add 'HKCR\.pnt' /ve /d Other.Points /f >/dev/null 2>&1
msiexec /i new.msi || fail "the installation beside another .pnt owner failed"
[ "$(default_of 'HKCR\.pnt')" = Other.Points ] || fail "the installer took .pnt over from another program"
has_key 'HKCR\.pnt\OpenWithProgids' /v Ostrel.PointFile || fail "Ostrel is not in Open with beside another owner"
# (A rebuild of the same version replaces it, too.)
msiexec /i rebuilt.msi || fail "the rebuilt package's installation failed"
[ "$(installations)" = "$newer" ] || fail "installed after the rebuild: $(installations | tr '\n' ' ')"
[ "$(default_of 'HKCR\.pnt')" = Other.Points ] || fail "the rebuild took .pnt over from another program"
msiexec /x rebuilt.msi || fail "the uninstallation beside another .pnt owner failed"
[ "$(default_of 'HKCR\.pnt')" = Other.Points ] || fail "uninstall changed another program's .pnt"
has_key 'HKCR\.pnt\OpenWithProgids' /v Ostrel.PointFile && fail "uninstall left Ostrel in Open with"
echo "msi: $(stat -c %s "$work/old.msi") bytes"
# The prefix's copy is large; the logs and the packages stay for a look.
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
rm -rf "$prefix"
