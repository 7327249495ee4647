#!/usr/bin/env bash
# Installs Korvane Brassel from this unpacked archive, or uninstalls it.
#
#   ./install.sh               into your home: ~/.vst, ~/.vst3, ~/.clap, ~/.lv2,
#                              ~/.local/bin and ~/.local/share/man
#   ./install.sh --system      into /usr/local/lib/vst, .../vst3, .../clap,
#                              .../lv2, /usr/local/bin, /usr/local/share/man
#   ./install.sh --prefix DIR  the same layout under DIR
#   ./install.sh --uninstall   [with --system or --prefix DIR] removes exactly
#                              what the last install there put in place
#   --force                    replaces files that this script did not install
#
# It records every file it installs (with its SHA-256) and every folder it
# creates in share/korvane-brassel/installed under the destination (for a home
# install: ~/.local/share/korvane-brassel/installed). It never overwrites a
# file it did not install or that was changed since, unless --force is given;
# it copies everything beside its destination first and only then moves it
# into place, so a failure leaves the previous installation as it was.
set -eEuo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
usage() { sed -n '4,12s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"; }
die() { echo "install.sh: $*" >&2; exit 1; }

arguments=("$@")
prefix='' uninstall=0 force=0
while [ $# -gt 0 ]; do
  case $1 in
    --system) prefix=/usr/local ;;
    --prefix) [ $# -ge 2 ] || { usage >&2; exit 2; }; prefix=$2; shift ;;
    --prefix=*) prefix=${1#--prefix=} ;;
    --uninstall) uninstall=1 ;;
    --force) force=1 ;;
    -h|--help) usage; exit 0 ;;
    *) echo "install.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
  esac
  shift
done

# Where each folder of the archive goes.
if [ -z "$prefix" ]; then
  [ -n "${HOME:-}" ] && [ -d "$HOME" ] || die "HOME is not set to a folder"
  home=${HOME%/}
  destinations=(
    "lib/vst:$home/.vst" "lib/vst3:$home/.vst3" "lib/clap:$home/.clap" "lib/lv2:$home/.lv2"
    "bin:$home/.local/bin" "share/man/man1:$home/.local/share/man/man1")
  record_dir=$home/.local/share/korvane-brassel
else
  [ "${prefix:0:1}" = / ] || prefix=$PWD/$prefix
  prefix=${prefix%/}
  destinations=(
    "lib/vst:$prefix/lib/vst" "lib/vst3:$prefix/lib/vst3" "lib/clap:$prefix/lib/clap"
    "lib/lv2:$prefix/lib/lv2" "bin:$prefix/bin" "share/man/man1:$prefix/share/man/man1")
  record_dir=$prefix/share/korvane-brassel
fi
record=$record_dir/installed

# Paths as the user knows them.
shown() { if [ -n "${home:-}" ] && [ "${1#"$home"/}" != "$1" ]; then echo "~/${1#"$home"/}"; else echo "$1"; fi; }
digest() { sha256sum "$1" | cut -d' ' -f1; }

# The last install's record: "file SHA256 PATH" and "folder PATH" lines.
declare -A old_digest=()
old_folders=()
if [ -f "$record" ]; then
  while IFS= read -r line; do
    rest=${line#* }
    case $line in
      file\ *) old_digest[${rest#* }]=${rest%% *} ;;
      folder\ *) old_folders+=("$rest") ;;
    esac
  done <"$record"
fi
mapfile -t old_files < <(printf '%s\n' "${!old_digest[@]}" | sort)

# Ours: installed by this script and unchanged since.
ours() { [ -n "${old_digest[$1]:-}" ] && [ -f "$1" ] && [ "$(digest "$1")" = "${old_digest[$1]}" ]; }

# Removes the recorded folders that are empty now, deepest first.
remove_empty_folders() {
  local folder
  while IFS= read -r folder; do
    [ -n "$folder" ] && [ -d "$folder" ] && rmdir "$folder" 2>/dev/null &&
      echo "removed folder $(shown "$folder")"
  done < <(printf '%s\n' "$@" | awk '{ print length, $0 }' | sort -rn | cut -d' ' -f2-)
  return 0
}

if [ $uninstall -eq 1 ]; then
  [ -f "$record" ] || { echo "Nothing to uninstall: no $(shown "$record")"; exit 0; }
  kept=0
  for path in "${old_files[@]}"; do
    [ -n "$path" ] || continue
    if [ ! -e "$path" ]; then
      echo "already gone: $(shown "$path")"
    elif ours "$path" || [ $force -eq 1 ]; then
      rm -f "$path" && echo "removed $(shown "$path")"
    else
      echo "kept $(shown "$path"): changed since it was installed (--force removes it)"
      kept=1
    fi
  done
  rm -f "$record"
  remove_empty_folders "${old_folders[@]}"
  exit $kept
fi

# What this archive installs: "source|target" pairs, in a fixed order.
plan=()
for pair in "${destinations[@]}"; do
  from=$here/${pair%%:*} to=${pair#*:}
  [ -d "$from" ] || continue
  while IFS= read -r -d '' file; do
    plan+=("$file|$to/${file#"$from"/}")
  done < <(find "$from" -type f -print0 | sort -z)
done
[ ${#plan[@]} -gt 0 ] || die "nothing to install in $here (is this the unpacked archive?)"

# Refuse before changing anything: files in the way that are not ours, and
# folders that cannot be written.
declare -A planned=()
conflicts=() unwritable=()
for item in "${plan[@]}"; do
  target=${item#*|}
  planned[$target]=1
  if [ -d "$target" ] && [ ! -L "$target" ]; then
    conflicts+=("$target (a folder)")
  elif { [ -e "$target" ] || [ -L "$target" ]; } && ! ours "$target" && [ $force -eq 0 ]; then
    conflicts+=("$target")
  fi
  folder=$(dirname "$target")
  while [ ! -e "$folder" ]; do folder=$(dirname "$folder"); done
  [ -d "$folder" ] && [ -w "$folder" ] || unwritable+=("$folder")
done
if [ ${#conflicts[@]} -gt 0 ]; then
  echo "install.sh: these are in the way and were not installed by install.sh:" >&2
  printf '  %s\n' "${conflicts[@]}" >&2
  echo "Nothing was changed. Move them away, or run again with --force to replace the files." >&2
  exit 1
fi
if [ ${#unwritable[@]} -gt 0 ]; then
  echo "install.sh: cannot write in:" >&2
  printf '%s\n' "${unwritable[@]}" | sort -u | sed 's/^/  /' >&2
  if [ -n "$prefix" ] && [ "$(id -u)" -ne 0 ]; then echo "Run it as root: sudo $0 ${arguments[*]}" >&2; fi
  echo "Nothing was changed." >&2
  exit 1
fi

# Copy everything beside its destination, creating missing folders; on any
# failure or interruption take it all back.
created=() staged=()
rollback() {
  rm -f "${staged[@]}"
  remove_empty_folders "${created[@]}" >/dev/null
  echo "install.sh: installing failed; nothing was changed" >&2
  exit 1
}
trap rollback ERR INT TERM
make_folder() {
  [ -d "$1" ] && return 0
  make_folder "$(dirname "$1")"
  mkdir "$1"
  created+=("$1")
}
for item in "${plan[@]}" "|$record"; do
  make_folder "$(dirname "${item#*|}")"
done
for item in "${plan[@]}"; do
  source=${item%%|*} target=${item#*|}
  temporary=$(dirname "$target")/.$(basename "$target").installing
  mode=644
  [ -x "$source" ] && mode=755
  staged+=("$temporary")
  install -m "$mode" "$source" "$temporary"
done
trap - ERR
# Moving into place and recording takes a moment: it is not cut off half-way.
trap '' INT TERM

# Now move them into place, and write down what is ours.
new_record=$record.new
{
  for item in "${plan[@]}"; do
    target=${item#*|}
    mv -f "$(dirname "$target")/.$(basename "$target").installing" "$target"
    echo "file $(digest "$target") $target"
  done
  printf 'folder %s\n' "${old_folders[@]}" "${created[@]}" | sort -u
} >"$new_record"
mv -f "$new_record" "$record"
trap - INT TERM
for folder in "${created[@]}"; do echo "created folder $(shown "$folder")"; done
for item in "${plan[@]}"; do echo "installed $(shown "${item#*|}")"; done

# Files of the last install that this one no longer has (a bundle that lost
# a file): removed while they are ours.
for path in "${old_files[@]}"; do
  [ -n "$path" ] && [ -z "${planned[$path]:-}" ] || continue
  if ours "$path"; then rm -f "$path" && echo "removed $(shown "$path") (not in this release)"; fi
done
# Every folder this install uses holds a file now; the empty ones are left
# from the last.
remove_empty_folders "${old_folders[@]}"

echo "Recorded in $(shown "$record"); ./install.sh --uninstall${prefix:+ --prefix $prefix} removes it all."
if [ -z "$prefix" ] && [[ ":$PATH:" != *":$home/.local/bin:"* ]]; then
  echo "Note: ~/.local/bin is not on your PATH; add it to run kvbr-render by name."
fi
# Libraries the plug-ins need that this system lacks.
if command -v ldd >/dev/null; then
  missing=$(for item in "${plan[@]}"; do
              ldd "${item#*|}" 2>/dev/null | awk '/not found/ { print $1 }' || true
            done | sort -u)
  [ -z "$missing" ] || echo "Note: these libraries are missing; install them with your package manager:" ${missing//$'\n'/ }
fi
