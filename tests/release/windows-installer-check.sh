#!/usr/bin/env bash
# The Windows setup program and zip as the release's packaging stage makes
# them, from the built DLL and stand-ins for the VST 3 bundle and the CLAP
# file: the same bytes when packaged twice; then under Wine in a fresh prefix,
# silently: an older version, the upgrade over it with every component, the
# same version again with chosen components and another VST 2.x folder, a run
# that cannot finish (it must leave the installation as it was), and the
# uninstaller (it must leave nothing).
#   windows-installer-check.sh SOURCE_DIR WINDOWS_BUILD WORK VERSION
set -euo pipefail
source_dir=$1 build=$2 work=$3 version=$4
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$work"
mkdir -p "$work"

# Two Windows builds: this one, with stand-ins for the formats it has not
# built, and an "older version" whose files differ.
fake_build() {  # folder, marker
  mkdir -p "$1/vst3/korvane-brassel.vst3/Contents/x86_64-win" "$1/vst3/korvane-brassel.vst3/Contents/Resources" \
           "$1/clap"
  echo "VST 3 stand-in $2" >"$1/vst3/korvane-brassel.vst3/Contents/x86_64-win/korvane-brassel.vst3"
  echo "{\"version\": \"$2\"}" >"$1/vst3/korvane-brassel.vst3/Contents/Resources/moduleinfo.json"
  echo "CLAP stand-in $2" >"$1/clap/korvane-brassel.clap"
}
fake_build "$work/build" "$version"
for product in korvane-brassel.dll vst3/korvane-brassel.vst3 clap/korvane-brassel.clap; do
  if [ -e "$build/$product" ]; then rm -rf "$work/build/$product"; cp -a "$build/$product" "$work/build/$product"; fi
done
fake_build "$work/old-build" 1.0.0
echo "older DLL" >"$work/old-build/korvane-brassel.dll"

package() {  # build, out, version
  "$source_dir/scripts/release-package.sh" --windows-build "$1" --out "$2" --version "$3" \
    --formats "vst2 lv2 vst3 clap" >/dev/null
}
package "$work/build" "$work/dist" "$version"
package "$work/build" "$work/dist-again" "$version"
package "$work/old-build" "$work/dist-old" 1.0.0
setup=korvane-brassel-$version-windows-x64-setup.exe
zip=korvane-brassel-$version-windows-x64.zip
for file in "$setup" "$zip" SHA256SUMS; do
  cmp -s "$work/dist/$file" "$work/dist-again/$file" || fail "$file differs between two packagings"
done
(cd "$work/dist" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match"

# The zip holds each format in its folder, and the documents.
listing=$(unzip -Z1 "$work/dist/$zip")
expected=$( (printf '%s\n' CHANGELOG.txt LICENSE.txt README.txt VST2/korvane-brassel.dll
             cd "$work/build" && find vst3 clap -type f | sed 's|^vst3|VST3|; s|^clap|CLAP|') |
           sed "s|^|korvane-brassel-$version-windows-x64/|" | sort)
[ "$listing" = "$expected" ] || { diff <(echo "$expected") <(echo "$listing"); fail "the zip's files"; }

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine wineboot --init >/dev/null 2>&1 || true
wineserver -w
drive=$WINEPREFIX/drive_c
common=$drive/Program\ Files/Common\ Files
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvaneBrassel'
cp "$work/dist/$setup" "$drive/setup.exe"
cp "$work/dist-old/korvane-brassel-1.0.0-windows-x64-setup.exe" "$drive/setup-old.exe"

# Runs a command line in the prefix through cmd, as a deployment script
# would (quotes reach the program as typed); its exit status is the program's.
run() {
  printf '%s\r\nexit /b %%ERRORLEVEL%%\r\n' "$1" >"$drive/run.bat"
  local status=0
  wine cmd /c 'C:\run.bat' >/dev/null 2>&1 || status=$?
  wineserver -w
  return $status
}
entry() { wine reg query "$key" 2>/dev/null | tr -d '\r' | awk -v name="$1" '$1 == name { $1 = $2 = ""; sub(/^ +/, ""); print }'; }
# Everything under the folders setup may touch, with checksums, and the entry.
state() {
  local roots=("Program Files")
  [ -d "$drive/Audio Plugins" ] && roots+=("Audio Plugins")
  (cd "$drive" && find "${roots[@]}" -path "*/Common Files/System" -prune -o \
     -path "*/Common Files/Microsoft Shared" -prune -o -print | sort |
   while IFS= read -r path; do
     if [ -f "$path" ]; then echo "$path $(sha256sum <"$path" | cut -c1-16)"; else echo "$path/"; fi
   done)
  wine reg query "$key" 2>/dev/null | tr -d '\r' | grep -v '^$' || true
}
same() { cmp -s "$1" "$2" || fail "$2 is not $(basename "$1") of $3"; }
before=$(state)

run 'C:\setup-old.exe /S /COMPONENTS=vst2,vst3' || fail "installing 1.0.0 exited with $?"
[ "$(entry DisplayVersion)" = 1.0.0 ] || fail "1.0.0 installed as $(entry DisplayVersion)"

# The upgrade, every component, VST 2.x where the last installation put it.
run 'C:\setup.exe /S' || fail "the upgrade exited with $?"
# Installed as shipped: the files the zip holds.
unzip -q "$work/dist/$zip" -d "$work/shipped"
new=$work/shipped/korvane-brassel-$version-windows-x64
same "$new/VST2/korvane-brassel.dll" "$drive/Program Files/VSTPlugins/korvane-brassel.dll" "$version"
diff -r "$new/VST3/korvane-brassel.vst3" "$common/VST3/korvane-brassel.vst3" >/dev/null ||
  fail "the VST3 folder's bundle is not the one of $version"
same "$new/CLAP/korvane-brassel.clap" "$common/CLAP/korvane-brassel.clap" "$version"
for file in uninstall.exe README.txt CHANGELOG.txt LICENSE.txt; do
  [ -f "$drive/Program Files/Korvane Brassel/$file" ] || fail "no $file in the program folder"
done
[ "$(entry DisplayName)" = "Korvane Brassel" ] || fail "DisplayName: $(entry DisplayName)"
[ "$(entry DisplayVersion)" = "$version" ] || fail "DisplayVersion after the upgrade: $(entry DisplayVersion)"
[ "$(entry Publisher)" = Korvane ] || fail "Publisher: $(entry Publisher)"
[ $(($(entry EstimatedSize))) -gt 100 ] || fail "EstimatedSize: $(entry EstimatedSize)"
[ "$(entry QuietUninstallString)" = '"C:\Program Files\Korvane Brassel\uninstall.exe" /S' ] ||
  fail "QuietUninstallString: $(entry QuietUninstallString)"
[ "$(find "$drive/Program Files" -name '*.new' -o -name '*.old' | wc -l)" -eq 0 ] ||
  fail "setup left its .new or .old files"

# The same version again, chosen components, another VST 2.x folder: the
# VST 3 bundle and the old DLL go, with the folders setup made for them.
run 'C:\setup.exe /S /COMPONENTS=vst2,clap /VST2DIR="C:\Audio Plugins\VST2"' ||
  fail "reinstalling with chosen components exited with $?"
same "$new/VST2/korvane-brassel.dll" "$drive/Audio Plugins/VST2/korvane-brassel.dll" "$version"
[ ! -e "$drive/Program Files/VSTPlugins" ] || fail "the old VST 2.x folder is still there"
[ ! -e "$common/VST3" ] || fail "the VST 3 bundle or its folder is still there"
same "$new/CLAP/korvane-brassel.clap" "$common/CLAP/korvane-brassel.clap" "$version"
[ "$(entry DisplayVersion)" = "$version" ] || fail "DisplayVersion: $(entry DisplayVersion)"
[ -z "$(entry Vst3Path)" ] || fail "the entry still records the VST 3 bundle"

# A component this setup does not have, and a run that cannot finish (a
# file where the VST3 folder must go), change nothing.
installed=$(state)
status=0
run 'C:\setup.exe /S /COMPONENTS=vst2,vst9' || status=$?
[ $status -eq 2 ] || fail "an unknown component: exit status $status, not 2"
echo "in the way" >"$common/VST3"
status=0
run 'C:\setup.exe /S' || status=$?
[ $status -eq 3 ] || fail "setup that could not make the VST3 folder: exit status $status, not 3"
rm "$common/VST3"
after=$(state)
[ "$after" = "$installed" ] || { diff <(echo "$installed") <(echo "$after"); fail "a failed run changed the installation"; }

# The uninstaller the entry names leaves nothing.
run '"C:\Program Files\Korvane Brassel\uninstall.exe" /S' || fail "the uninstaller exited with $?"
after=$(state)
[ "$after" = "$before" ] || { diff <(echo "$before") <(echo "$after"); fail "the uninstaller left these"; }
echo "$setup: $(stat -c %s "$work/dist/$setup") bytes, $zip: $(stat -c %s "$work/dist/$zip") bytes;" \
     "installed, upgraded, reinstalled, failed cleanly and uninstalled under Wine"
