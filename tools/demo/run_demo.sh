#!/usr/bin/env bash
# The demo: plays the demo piece (tools/demo/demo.mid) through the 32-bit Windows
# module under wine with quindle-host, once for each of the eight factory programs, and
# writes into one folder, for each program: the WAV file, a spectrogram picture of it and
# pictures of the editor showing the program, the Windows one (the DLL under wine) beside
# the Linux one (Quindle.so's X11 editor); plus index.html that shows them together.
#
#   make demo           (set-up, the builds, then this script inside xvfb-run)
#
# Environment: QUINDLE_WIN32_BUILD (default build/win32), QUINDLE_NATIVE_BUILD (default
# build/native, for the Linux editor pictures), QUINDLE_DEMO_DIR (default
# build/demo), QUINDLE_DEMO_JOBS (renders at a time, default 2), WINEPREFIX (default
# build/wineprefix, as for the Windows tests). Needs an X display for the editor pictures
# (the Makefile provides one with xvfb-run).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${QUINDLE_WIN32_BUILD:-$root/build/win32}
native=${QUINDLE_NATIVE_BUILD:-$root/build/native}
out=${QUINDLE_DEMO_DIR:-$root/build/demo}
jobs=${QUINDLE_DEMO_JOBS:-2}
piece="$here/demo.mid"
tail_seconds=3
spectrogram_gain_db=-8   # keep in step with the text of index.html
program_count=8
wine_run="$root/cmake/wine-run.sh"
dll="$build/Quindle.dll"
host="$build/quindle-host.exe"
linux_module="$native/Quindle.so"
linux_host="$native/quindle-host"

for f in "$dll" "$host" "$piece" "$linux_module" "$linux_host"; do
  [ -f "$f" ] || { echo "demo: $f is missing (run 'make demo', which builds first)" >&2; exit 1; }
done
command -v sox >/dev/null || { echo "demo: sox is missing (run 'make setup')" >&2; exit 1; }

started=$(date +%s)
mkdir -p "$out"
rm -f "$out"/*.wav "$out"/*.png "$out"/*.log "$out"/index.html
cp "$piece" "$out/"
log="$out/demo.log"
: >"$log"

elapsed() { echo "$(( $(date +%s) - started )) s"; }

# cmake/wine-run.sh creates the shared prefix when it finds no registry in it; the registry
# files appear only when the server that wineboot started exits, so the prefix is made
# here, once, before wine programs run side by side.
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "demo: creating the wine prefix $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX"
  WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
fi

# wine-run.sh leaves a server running for the next program; it and the desktop process it
# started belong to this script's X display, which ends with the script, so it goes too.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

# The program names come from the module itself: its bank, saved through quindle-host.
echo "demo: reading the programs of $dll"
bash "$wine_run" "$host" save-bank "$dll" "$out/bank.fxb" >>"$log" 2>&1 || {
  cat "$log" >&2; echo "demo: quindle-host could not load the module" >&2; exit 1; }
mapfile -t names < <(python3 - "$out/bank.fxb" "$program_count" <<'EOF'
import sys
# Opaque bank file: a 160-byte header, then 76-byte program records starting with the name.
data = open(sys.argv[1], "rb").read()
for program in range(int(sys.argv[2])):
    record = data[160 + 76 * program:160 + 76 * program + 24]
    print(record.split(b"\0", 1)[0].decode("latin-1"))
EOF
)
rm -f "$out/bank.fxb"
[ ${#names[@]} -eq $program_count ] || { echo "demo: could not read the program names" >&2; exit 1; }

screenshots=1
if ! bash "$wine_run" "$host" --help 2>/dev/null | grep -q '^  screenshot '; then
  screenshots=0
  echo "demo: quindle-host has no 'screenshot' verb yet: the editor pictures are left out"
fi

# File stem of a program: its number and its name in lower case with dashes.
stem() {
  local slug
  slug=$(printf '%s' "$2" | tr '[:upper:]' '[:lower:]' | tr -cs 'a-z0-9' '-' | sed 's/^-*//; s/-*$//')
  printf '%d-%s' "$1" "$slug"
}

one_program() {
  local number=$1 name=$2 base
  base="$out/$(stem "$number" "$name")"
  bash "$wine_run" "$host" render "$dll" "$piece" "$base.wav" --program "$number" --tail "$tail_seconds" \
    >"$base.log" 2>&1 || { echo "demo: render of program $number failed:" >&2; cat "$base.log" >&2; return 1; }
  # The spectrogram shows 0 to 11 kHz, where the instrument's sound lives, drawn from a
  # copy turned down so that sox does not clip the peaks above full scale.
  python3 "$here/wav_gain.py" "$base.wav" "$base.quiet.wav" "$spectrogram_gain_db" >>"$base.log" 2>&1 &&
    sox "$base.quiet.wav" -n remix 1 rate 22050 spectrogram -x 1200 -y 513 -z 90 \
      -t "Quindle demo - program $number \"$name\"" -c "demo.mid at $spectrogram_gain_db dB" \
      -o "$base.spectrogram.png" >>"$base.log" 2>&1 ||
    { echo "demo: spectrogram of program $number failed:" >&2; cat "$base.log" >&2; return 1; }
  rm -f "$base.quiet.wav"
  if [ $screenshots -eq 1 ]; then
    bash "$wine_run" "$host" screenshot "$dll" "$base.editor.png" --program "$number" >>"$base.log" 2>&1 ||
      { echo "demo: editor picture of program $number failed:" >&2; cat "$base.log" >&2; return 1; }
  fi
  "$linux_host" screenshot "$linux_module" "$base.editor-linux.png" --program "$number" >>"$base.log" 2>&1 ||
    { echo "demo: Linux editor picture of program $number failed:" >&2; cat "$base.log" >&2; return 1; }
  rm -f "$base.log"
}

echo "demo: rendering $(basename "$piece") with each of the $program_count programs, $jobs at a time"
declare -A running=()
failed=0
done_count=0
finish_one() {
  local pid
  wait -n -p pid || failed=1
  done_count=$((done_count + 1))
  echo "demo: [$done_count/$program_count] ${running[$pid]} ($(elapsed))"
  unset "running[$pid]"
}
for ((number = 0; number < program_count; number++)); do
  while [ ${#running[@]} -ge "$jobs" ]; do finish_one; done
  one_program "$number" "${names[$number]}" &
  running[$!]="program $number \"${names[$number]}\""
done
while [ ${#running[@]} -gt 0 ]; do finish_one; done
[ $failed -eq 0 ] || { echo "demo: failed" >&2; exit 1; }

# Whether the two editors drew the same picture of a program. Both hosts write their PNG
# files with the same encoder from the same RGB bytes, so equal files mean equal pixels.
same_picture() {
  if [ ! -f "$1" ]; then
    echo "not compared (no Windows picture)"
  elif cmp -s "$1" "$2"; then
    echo "identical, pixel for pixel"
  else
    echo "DIFFERENT"
  fi
}

# A page that shows every program's pictures and plays its sound.
{
  echo '<!DOCTYPE html><html><head><meta charset="utf-8"><title>Quindle demo</title></head>'
  echo '<body style="font-family: sans-serif; background: #222; color: #ddd">'
  echo '<h1>Quindle demo</h1><p>The demo piece (<a href="demo.mid" style="color:#8cf">demo.mid</a>) played with each factory program.'
  echo 'The sound files are 32-bit float, exactly as the plug-in renders them; the instrument has no master gain,'
  echo 'so the densest chords go above full scale: play them quietly. The spectrograms are drawn 8 dB down.</p>'
  for ((number = 0; number < program_count; number++)); do
    s=$(stem "$number" "${names[$number]}")
    echo "<h2>$number: $(printf '%s' "${names[$number]}" | sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g')</h2>"
    echo '<table><tr><th>Windows (Quindle.dll, Win32/GDI)</th><th>Linux (Quindle.so, X11)</th></tr><tr>'
    [ $screenshots -eq 0 ] && echo '<td>(no picture)</td>' || echo "<td><img src=\"$s.editor.png\" alt=\"Windows editor\"></td>"
    echo "<td><img src=\"$s.editor-linux.png\" alt=\"Linux editor\"></td></tr></table>"
    echo "<p>The two editor pictures are $(same_picture "$out/$s.editor.png" "$out/$s.editor-linux.png").</p>"
    echo "<p><audio controls src=\"$s.wav\"></audio></p><p><img src=\"$s.spectrogram.png\" alt=\"spectrogram\" width=\"900\"></p>"
  done
  echo '</body></html>'
} >"$out/index.html"

identical=$(grep -c 'editor pictures are identical' "$out/index.html" || true)
echo "demo: the Windows and Linux editors drew identical pictures for $identical of $program_count programs"
[ -s "$log" ] || rm -f "$log"
echo "demo: done in $(elapsed); open $out/index.html"
ls -1 "$out"
echo "demo: output folder $out"
