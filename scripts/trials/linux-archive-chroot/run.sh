#!/usr/bin/env bash
# Installs the Linux archive as a new user would on a clean Debian 12 and
# loads each format in a Debian host there. As root:
#   debootstrap --variant=minbase bookworm ROOT
#   run.sh ROOT dist/korvane-brassel-VERSION-linux-x86_64.tar.gz
# First install.sh on the bare system (it must say which libraries are
# missing), then the libraries and Debian's LV2 tools from apt, a user of
# its own, install.sh into that user's home, lv2ls and lv2apply on the LV2
# bundle, kvbr-render (VST 2.x) on a file, Ardour's VST 3 scanner on the VST 3
# bundle and Qtractor's plug-in scanner on the CLAP file (Debian's ardour and
# qtractor packages), and --uninstall.
set -euo pipefail
root=$(realpath "$1") archive=$(realpath "$2")
name=$(basename "$archive" .tar.gz)
mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
cp "$archive" "$root/tmp/"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

echo "== install.sh on the bare system"
in_root bash -c "id -u listener >/dev/null 2>&1 || useradd -m -s /bin/bash listener"
in_root su - listener -c "tar -xzf /tmp/$name.tar.gz && $name/install.sh && $name/install.sh --uninstall >/dev/null"

echo "== the libraries and Debian's LV2 tools"
in_root apt-get install -y -q --no-install-recommends libcairo2 libfontconfig1 libsndfile1 libx11-6 \
  lilv-utils fonts-dejavu-core >/dev/null
in_root su - listener -c "$name/install.sh"

echo "== LV2: lv2ls and lv2apply"
in_root su - listener -c 'lv2ls'
in_root su - listener -c 'PATH=$HOME/.local/bin:$PATH kvbr-render --force >/dev/null && ls demo'
in_root su - listener -c 'lv2apply -i demo/in.wav -o lv2-out.wav -c output 6 https://korvane.com/plugins/brassel && ls -l lv2-out.wav'

echo "== VST 2.x: kvbr-render from ~/.local/bin, on the demo loop and on the LV2 output"
in_root su - listener -c 'PATH=$HOME/.local/bin:$PATH; kvbr-render --version | head -1; kvbr-render --list --vst2 | sed -n "1,4p"'
in_root su - listener -c 'PATH=$HOME/.local/bin:$PATH kvbr-render lv2-out.wav vst-out.wav --vst2 --preset Vox | tail -6'
in_root su - listener -c 'man -w kvbr-render 2>/dev/null || echo "(no man program in minbase)"'

echo "== VST 3 and CLAP: the scanners of Debian's Ardour and Qtractor"
in_root apt-get install -y -q --no-install-recommends ardour qtractor >/dev/null
in_root su - listener -c 'LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner \
  .vst3/korvane-brassel.vst3 2>&1 | grep -E "Found|Saved"; grep -ho "<VST3Info [^>]*" .cache/ardour7/vst/*.v3i'
in_root su - listener -c 'printf "CLAP:%s\n" "$HOME/.clap/korvane-brassel.clap" |
  /usr/lib/x86_64-linux-gnu/qtractor/qtractor_plugin_scan 2>&1 | grep "^CLAP|"'

echo "== uninstall"
in_root su - listener -c "$name/install.sh --uninstall | tail -3; find .vst .vst3 .clap .lv2 .local 2>/dev/null || echo 'nothing of it left'"
