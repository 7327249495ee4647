#!/usr/bin/env bash
# The Linux downloads as the release's packaging stage makes them from this
# build: the Debian package and the archive are the same bytes when packaged
# twice. Then the archive, with stand-ins for the VST 3 bundle and the CLAP
# file, installed by its install.sh into a home without any of the folders:
# every format where hosts look, lv2ls lists the bundle, the installed
# kvbr-render --vst2 finds the installed plug-in; a file it did not install, or one
# changed since, stops it unless --force; an upgrade that no longer has a file
# removes it; --uninstall leaves the home as it was; --prefix likewise.
#   linux-archive-check.sh SOURCE_DIR BUILD WORK VERSION
set -euo pipefail
source_dir=$1 build=$2 work=$3 version=$4
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$work"
mkdir -p "$work"
name=korvane-brassel-$version-linux-x86_64
package() {  # out, arguments...
  "$source_dir/scripts/release-package.sh" --out "$1" --version "$version" "${@:2}" >"$work/package.log" 2>&1
}

package "$work/dist" --linux-build "$build" || { cat "$work/package.log"; fail "packaging"; }
package "$work/dist-again" --linux-build "$build" || { cat "$work/package.log"; fail "packaging again"; }
for file in "korvane-brassel_${version}_amd64.deb" "$name.tar.gz" SHA256SUMS; do
  cmp -s "$work/dist/$file" "$work/dist-again/$file" || fail "$file differs between two packagings"
done
(cd "$work/dist" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match"

mkdir "$work/plain"
tar -xzf "$work/dist/$name.tar.gz" -C "$work/plain"
plain=$work/plain/$name
for file in install.sh README.md CHANGELOG.md LICENSE bin/kvbr-render share/man/man1/kvbr-render.1.gz \
            lib/vst/korvane-brassel.so lib/lv2/korvane-brassel.lv2/manifest.ttl; do
  [ -f "$plain/$file" ] || fail "the archive has no $file"
done
folders=$(grep -E '^[a-z0-9]+$' "$source_dir/packaging/formats" | sed 's/^vst2$/vst/' | sort)
[ "$(ls "$plain/lib")" = "$folders" ] || fail "the archive's lib/ holds $(ls "$plain/lib"), not $folders"
"$plain/bin/kvbr-render" --version | grep -q "$version" || fail "kvbr-render --version does not say $version"

# The same tree with every format, stand-ins for those not built yet.
tree=$work/tree
mkdir -p "$tree"
cp -a "$plain/bin" "$plain/lib" "$plain/share" "$tree/"
if [ ! -e "$tree/lib/vst3" ]; then
  mkdir -p "$tree/lib/vst3/korvane-brassel.vst3/Contents/x86_64-linux" \
           "$tree/lib/vst3/korvane-brassel.vst3/Contents/Resources"
  echo "VST 3 stand-in" >"$tree/lib/vst3/korvane-brassel.vst3/Contents/x86_64-linux/korvane-brassel.so"
  echo "{}" >"$tree/lib/vst3/korvane-brassel.vst3/Contents/Resources/moduleinfo.json"
fi
if [ ! -e "$tree/lib/clap" ]; then
  mkdir -p "$tree/lib/clap"
  echo "CLAP stand-in" >"$tree/lib/clap/korvane-brassel.clap"
fi
! package "$work/dist-unlisted" --linux-tree "$tree" --formats "vst2 lv2" ||
  fail "packaging took a VST 3 bundle that the formats do not list"
package "$work/dist-all" --linux-tree "$tree" --formats "vst2 lv2 vst3 clap" ||
  { cat "$work/package.log"; fail "packaging the tree with every format"; }
mkdir "$work/all"
tar -xzf "$work/dist-all/$name.tar.gz" -C "$work/all"
all=$work/all/$name
# And an older release with VST 2.x and LV2 only, to upgrade to.
mkdir -p "$work/older-tree"
cp -a "$tree/bin" "$tree/lib" "$tree/share" "$work/older-tree/"
rm -rf "$work/older-tree/lib/vst3" "$work/older-tree/lib/clap"
package "$work/dist-older" --linux-tree "$work/older-tree" --formats "vst2 lv2" ||
  { cat "$work/package.log"; fail "packaging the tree with VST 2.x and LV2"; }
mkdir "$work/older"
tar -xzf "$work/dist-older/$name.tar.gz" -C "$work/older"
older=$work/older/$name

home=$work/home
mkdir "$home"
install_sh() {  # archive folder, arguments...: runs its install.sh as a user would
  (cd "$1" && env -u VST_PATH -u LV2_PATH HOME="$home" PATH=/usr/bin:/bin ./install.sh "${@:2}")
}
out=$(install_sh "$all") || { echo "$out"; fail "install.sh into an empty home"; }
while IFS=' ' read -r source target; do
  cmp -s "$all/$source" "$home/$target" || fail "$source is not installed as ~/$target"
  grep -qxF "installed ~/$target" <<<"$out" || fail "install.sh did not say it installed ~/$target"
done <<EOF
lib/vst/korvane-brassel.so .vst/korvane-brassel.so
lib/vst3/korvane-brassel.vst3/Contents/x86_64-linux/korvane-brassel.so .vst3/korvane-brassel.vst3/Contents/x86_64-linux/korvane-brassel.so
lib/vst3/korvane-brassel.vst3/Contents/Resources/moduleinfo.json .vst3/korvane-brassel.vst3/Contents/Resources/moduleinfo.json
lib/clap/korvane-brassel.clap .clap/korvane-brassel.clap
lib/lv2/korvane-brassel.lv2/manifest.ttl .lv2/korvane-brassel.lv2/manifest.ttl
lib/lv2/korvane-brassel.lv2/korvane-brassel-dsp.so .lv2/korvane-brassel.lv2/korvane-brassel-dsp.so
bin/kvbr-render .local/bin/kvbr-render
share/man/man1/kvbr-render.1.gz .local/share/man/man1/kvbr-render.1.gz
EOF
[ -x "$home/.local/bin/kvbr-render" ] || fail "the installed kvbr-render is not executable"
plugins=$(LV2_PATH=$home/.lv2 lv2ls)
[ "$plugins" = "https://korvane.com/plugins/brassel
https://korvane.com/plugins/brassel#mono" ] || fail "lv2ls in ~/.lv2 found: $plugins"
# The plug-in keeps its preferences in the config folder, which is not install.sh's.
listed() { env -u VST_PATH HOME="$1" XDG_CONFIG_HOME="$work/config" "$2" --list --vst2 | grep -x "  .*\.so" || true; }
[ "$(listed "$home" "$home/.local/bin/kvbr-render")" = "  $home/.vst/korvane-brassel.so" ] ||
  fail "the installed kvbr-render loaded: $(listed "$home" "$home/.local/bin/kvbr-render")"

# An upgrade without the VST 3 and CLAP files removes them and their folders;
# the same again changes nothing and is not refused.
out=$(install_sh "$older") || { echo "$out"; fail "install.sh over the last install"; }
[ ! -e "$home/.vst3" ] && [ ! -e "$home/.clap" ] || fail "the upgrade left the VST 3 or CLAP files: $out"
install_sh "$older" >/dev/null || fail "installing the same archive again"
install_sh "$plain" >/dev/null || fail "installing this build's archive over it"

# A file changed since it was installed stops the install, until --force.
echo "changed" >>"$home/.vst/korvane-brassel.so"
! out=$(install_sh "$plain" 2>&1) || fail "install.sh replaced a changed file without --force"
grep -qF "$home/.vst/korvane-brassel.so" <<<"$out" || fail "install.sh did not name the file in the way: $out"
install_sh "$plain" --force >/dev/null || fail "install.sh --force"
cmp -s "$plain/lib/vst/korvane-brassel.so" "$home/.vst/korvane-brassel.so" || fail "--force did not replace it"

out=$(install_sh "$plain" --uninstall) || { echo "$out"; fail "install.sh --uninstall"; }
left=$(find "$home" -mindepth 1)
[ -z "$left" ] || fail "--uninstall left: $left"

# A file someone else put there stops a first install before it changes anything.
mkdir -p "$home/.vst"
echo "someone else's" >"$home/.vst/korvane-brassel.so"
! install_sh "$plain" >/dev/null 2>&1 || fail "install.sh overwrote a file it did not install"
[ "$(find "$home" -mindepth 1)" = "$home/.vst
$home/.vst/korvane-brassel.so" ] || fail "a refused install changed the home: $(find "$home")"
rm -r "$home/.vst"

# A system layout under a prefix that does not exist yet.
prefix=$work/prefix
install_sh "$all" --prefix "$prefix" >/dev/null || fail "install.sh --prefix"
for file in lib/vst/korvane-brassel.so lib/vst3/korvane-brassel.vst3/Contents/x86_64-linux/korvane-brassel.so \
            lib/clap/korvane-brassel.clap lib/lv2/korvane-brassel.lv2/manifest.ttl bin/kvbr-render \
            share/man/man1/kvbr-render.1.gz; do
  cmp -s "$all/$file" "$prefix/$file" || fail "$file is not installed under the prefix"
done
[ "$(listed "$home" "$prefix/bin/kvbr-render")" = "  $prefix/lib/vst/korvane-brassel.so" ] ||
  fail "kvbr-render under the prefix loaded: $(listed "$home" "$prefix/bin/kvbr-render")"
install_sh "$all" --prefix "$prefix" --uninstall >/dev/null || fail "install.sh --prefix --uninstall"
[ ! -e "$prefix" ] || fail "--uninstall under the prefix left: $(find "$prefix")"
echo "$name.tar.gz: $(stat -c %s "$work/dist/$name.tar.gz") bytes, the .deb $(stat -c %s \
  "$work/dist/korvane-brassel_${version}_amd64.deb") bytes; installed, upgraded, refused, forced and uninstalled"
