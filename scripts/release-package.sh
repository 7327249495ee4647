#!/usr/bin/env bash
# The packaging stage of scripts/release.sh: turns built files into the
# release's downloads, and nothing else (no compiling), so that it can be run
# twice on the same files and give the same bytes.
#
#   scripts/release-package.sh --out DIR [--linux-build DIR | --linux-tree DIR]
#                              [--windows-build DIR] [--version V] [--formats "F..."]
#
# --linux-build  a built Linux release build: installed into a staging tree,
#                then korvane-brassel_V_amd64.deb (cpack) and
#                korvane-brassel-V-linux-x86_64.tar.gz
# --linux-tree   an installed tree instead (bin/, lib/, share/man/): only the
#                .tar.gz
# --windows-build a built Windows build: korvane-brassel-V-windows-x64-setup.exe
#                and korvane-brassel-V-windows-x64.zip
# --version      default: the project version in CMakeLists.txt
# --formats      default: the lines of packaging/formats
# SOURCE_DATE_EPOCH gives every date inside the packages; default: the time of
# the commit checked out, else (a source tarball) the newest CHANGELOG date. SHA256SUMS lists whatever DIR holds at the end.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
out='' linux_build='' linux_tree='' windows_build='' version='' formats=''
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$2; shift ;;
    --linux-build) linux_build=$(cd "$2" && pwd); shift ;;
    --linux-tree) linux_tree=$(cd "$2" && pwd); shift ;;
    --windows-build) windows_build=$(cd "$2" && pwd); shift ;;
    --version) version=$2; shift ;;
    --formats) formats=$2; shift ;;
    *) sed -n '6,20s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
  esac
  shift
done
die() { echo "release-package.sh: $*" >&2; exit 1; }
[ -n "$out" ] || die "--out DIR is needed"
[ -n "$version" ] ||
  version=$(sed -n 's/^project(KorvaneBrassel VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
[ -n "$formats" ] || formats=$(grep -E '^[a-z0-9]+$' "$source_dir/packaging/formats")
formats=$(echo $formats)
for format in $formats; do
  case $format in vst2|lv2|vst3|clap) ;; *) die "unknown format $format" ;; esac
done
# A source tarball has no history: the newest changelog entry's date stands in.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=''
fi
if [ -z "$SOURCE_DATE_EPOCH" ]; then
  newest=$(sed -n 's/^## [0-9][0-9.]* (\([0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\))$/\1/p' \
    "$source_dir/CHANGELOG.md" | head -n 1)
  [ -n "$newest" ] || die "set SOURCE_DATE_EPOCH: no git history and no dated entry in CHANGELOG.md"
  SOURCE_DATE_EPOCH=$(date -u -d "$newest" +%s)
fi
export SOURCE_DATE_EPOCH
# Archive members sort the same everywhere, and zip's dates are UTC.
export LC_ALL=C TZ=UTC
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$out/.work
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

shipped() { [[ " $formats " == *" $1 "* ]]; }

# Where each format lies in an installed Linux tree and in a Windows build.
linux_product() {
  case $1 in
    vst2) echo lib/vst/korvane-brassel.so ;;
    lv2) echo lib/lv2/korvane-brassel.lv2 ;;
    vst3) echo lib/vst3/korvane-brassel.vst3 ;;
    clap) echo lib/clap/korvane-brassel.clap ;;
  esac
}
windows_product() {
  case $1 in
    vst2) echo korvane-brassel.dll ;;
    vst3) echo vst3/korvane-brassel.vst3 ;;
    clap) echo clap/korvane-brassel.clap ;;
  esac
}

# Every listed format is there, and nothing else is.
check_linux_tree() {
  local tree=$1 format folder
  for format in $formats; do
    [ -e "$tree/$(linux_product "$format")" ] || die "$tree lacks $format: no $(linux_product "$format")"
  done
  for folder in "$tree"/lib/*; do
    format=''
    for candidate in vst2 lv2 vst3 clap; do
      [ "$tree/$(dirname "$(linux_product "$candidate")")" = "$folder" ] && format=$candidate
    done
    [ -n "$format" ] && shipped "$format" ||
      die "$folder was built but packaging/formats does not list its format"
  done
}

# The licence as a person reads it: the body of packaging/copyright's licence
# paragraph, without Debian's machine-readable fields around it.
licence() {
  echo "Korvane Brassel"
  sed -n 's/^Copyright: /Copyright /p' "$source_dir/packaging/copyright" | head -1
  echo
  awk '/^License: / { body = (NR > 1 && previous == "") } /^ / && body { sub(/^ /, ""); print ($0 == "." ? "" : $0) }
       { previous = $0 }' "$source_dir/packaging/copyright"
}

# Every file and folder dated SOURCE_DATE_EPOCH, nothing writable but by its owner.
settle() {
  chmod -R go-w "$1"
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

debian_package() {
  local deb=korvane-brassel_${version}_amd64.deb
  cpack --config "$linux_build/CPackConfig.cmake" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; die "cpack failed"; }
  [ -f "$work/deb/$deb" ] || die "cpack made no $deb (is the build's version $version?)"
  local format contents
  contents=$(dpkg-deb -c "$work/deb/$deb")
  for format in $formats; do
    grep -q " \./usr/$(linux_product "$format")/\?$" <<<"$contents" || die "$deb lacks $format"
  done
  mv "$work/deb/$deb" "$out/"
}

linux_archive() {
  local tree=$1 name=korvane-brassel-$version-linux-x86_64
  local root=$work/$name
  mkdir -p "$root/share"
  cp -a "$tree/bin" "$tree/lib" "$root/"
  cp -a "$tree/share/man" "$root/share/"
  cmake -DKVBR_TREE="$root" -DKVBR_STRIP=strip -P "$source_dir/packaging/finishTree.cmake"
  install -m 755 "$source_dir/packaging/linux/install.sh" "$root/install.sh"
  install -m 644 "$source_dir/README.md" "$source_dir/CHANGELOG.md" "$root/"
  licence >"$root/LICENSE"
  chmod 644 "$root/LICENSE"
  settle "$root"
  tar --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$SOURCE_DATE_EPOCH" --format=gnu \
      -C "$work" -cf - "$name" | gzip -9n >"$out/$name.tar.gz"
}

# The Windows files as the zip holds them and the installer takes them.
windows_tree() {
  local root=$1 format product
  mkdir -p "$root"
  for format in $formats; do
    [ "$format" = lv2 ] && continue
    product=$windows_build/$(windows_product "$format")
    [ -e "$product" ] || die "$windows_build lacks $format: no $(windows_product "$format")"
    mkdir -p "$root/${format^^}"
    cp -a "$product" "$root/${format^^}/"
  done
  # Symbols and debugging sections out, as on Linux; the linker and strip
  # write SOURCE_DATE_EPOCH into the header.
  find "$root" -type f -print0 | sort -z | while IFS= read -r -d '' file; do
    if [ "$(head -c 2 "$file")" = MZ ]; then x86_64-w64-mingw32-strip --strip-unneeded "$file"; fi
  done
  for format in vst3 clap; do
    [ -e "$windows_build/$(windows_product "$format")" ] && ! shipped "$format" &&
      die "$windows_build made $format but packaging/formats does not list it"
  done
  sed 's/$/\r/' "$source_dir/packaging/windows/README.txt" >"$root/README.txt"
  sed 's/$/\r/' "$source_dir/CHANGELOG.md" >"$root/CHANGELOG.txt"
  licence | sed 's/$/\r/' >"$root/LICENSE.txt"
  settle "$root"
}

windows_zip() {
  local name=korvane-brassel-$version-windows-x64
  windows_tree "$work/$name"
  (cd "$work" && find "$name" -type f | sort | zip -q -X -9 -D "$out/$name.zip" -@)
}

windows_installer() {
  local root=$work/installer exe=korvane-brassel-$version-windows-x64-setup.exe format
  windows_tree "$root"
  local defines=(-DVERSION="$version" -DROOT="$root" -DOUTFILE="$out/$exe")
  for format in $formats; do
    [ "$format" = lv2 ] && continue
    defines+=("-DFORMAT_${format^^}" "-DSIZE_${format^^}=$(du -sk --apparent-size "$root/${format^^}" | cut -f1)")
  done
  makensis -V2 -INPUTCHARSET UTF8 "${defines[@]}" "$source_dir/packaging/windows/installer.nsi" \
    >"$work/makensis.log" 2>&1 || { cat "$work/makensis.log" >&2; die "makensis failed"; }
}

if [ -n "$linux_build" ]; then
  linux_tree=$work/tree
  DESTDIR=$linux_tree cmake --install "$linux_build" --prefix / >/dev/null
fi
if [ -n "$linux_tree" ]; then
  check_linux_tree "$linux_tree"
  [ -z "$linux_build" ] || debian_package
  linux_archive "$linux_tree"
fi
if [ -n "$windows_build" ]; then
  windows_zip
  windows_installer
fi
(cd "$out" && find . -maxdepth 1 -type f ! -name SHA256SUMS ! -name '.*' -printf '%P\n' | sort |
   xargs -r sha256sum >SHA256SUMS)
ls -l "$out" | sed 1d
