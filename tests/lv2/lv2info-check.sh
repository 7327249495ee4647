#!/usr/bin/env bash
# What Debian's lv2info shows of both plug-ins: names, class, every port with
# its range and default, the enumerations' labels and the 32 presets.
set -euo pipefail
export LV2_PATH="$(cd "$(dirname "$1")" && pwd):/usr/lib/lv2"

# One line per port: symbol, minimum, maximum, default, then the scale points in order.
summary() {
  lv2info "$1" 2>/dev/null | awk '
    /^\tPort [0-9]+:/ { if (sym != "") print sym, min, max, def, points; sym=""; min=max=def="-"; points="" }
    /Symbol:/  { sym=$2 }
    /Minimum:/ { min=$2 }  /Maximum:/ { max=$2 }  /Default:/ { def=$2 }
    /^\t\t\t[0-9]+ = / { split($0, a, " = "); gsub(/[\t"]/, "", a[1]); gsub(/"/, "", a[2]); pts[a[1]+0]=a[2]; n++ }
    /Scale Points:/ { delete pts; n=0 }
    /^\t\tSymbol:/ { if (n) { points=""; for (i=0;i<n;i++) points=points " " i "=" pts[i]; n=0 } }
    END { if (sym != "") print sym, min, max, def, points }'
}

controls='process 0.000000 2.000000 2.000000  0=Off 1=Clear 2=Valve
ratio 0.000000 6.000000 3.000000  0=1.2:1 1=1.5:1 2=2:1 3=3:1 4=4:1 5=6:1 6=10:1
time 0.000000 10.000000 5.000000 
compression 0.000000 10.000000 5.000000 
output 0.000000 30.000000 0.000000 
gain_reduction 0.000000 40.000000 0.000000 
oversampling 0.000000 2.000000 0.000000  0=Off 1=2x 2=4x
mix 0.000000 100.000000 100.000000 
sidechain_filter 0.000000 4.000000 0.000000  0=Off 1=60 Hz 2=90 Hz 3=150 Hz 4=250 Hz
key 0.000000 1.000000 0.000000  0=Internal 1=External'
fail=0
check() {  # uri name audio-ports key-ports
  local info; info=$(lv2info "$1" 2>/dev/null)
  grep -q "Name:  *$2\$" <<<"$info" || { echo "$1: name is not $2"; fail=1; }
  grep -q "Class:  *Compressor Plugin" <<<"$info" || { echo "$1: not a compressor"; fail=1; }
  local expected; expected="$(printf '%s\n' $3 | sed 's/$/ - - - /')
$controls
$(printf '%s\n' $4 | sed 's/$/ - - - /')"
  local got; got=$(summary "$1")
  if [ "$got" != "$expected" ]; then
    echo "$1: ports differ"; diff <(echo "$expected") <(echo "$got") || true; fail=1
  fi
  local presets; presets=$(sed -n '/Presets:/,/^$/p' <<<"$info" | grep -cP '^\t +\S')
  [ "$presets" -eq 32 ] || { echo "$1: $presets presets, not 32"; fail=1; }
  for name in Default "Glue Things Together" "Bus Comp 3"; do
    grep -qP "^\t +\Q$name\E\$" <<<"$info" || { echo "$1: no preset $name"; fail=1; }
  done
}
check https://korvane.com/plugins/brassel "Korvane Brassel" "in_l in_r out_l out_r" "key_left key_right"
check "https://korvane.com/plugins/brassel#mono" "Korvane Brassel Mono" "in out" "key_in"
[ $fail -eq 0 ] && echo "lv2info shows both plug-ins as described"
exit $fail
