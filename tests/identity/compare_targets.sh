#!/usr/bin/env bash
# Renders the same event sequences through the module of each build (the native host
# with Quindle.so; the win32 and win64 hosts with their Quindle.dll under wine), through
# the native build's LV2 bundle (the native host with Quindle.lv2), through each build's
# VST 3 bundle (each host with its Quindle.vst3) and through each build's CLAP plug-in
# (each host with its Quindle.clap), and compares the outputs'
# SHA-256 hashes; compares the factory banks the three modules save, and
# those with the committed Quindle-factory.fxb. The sequences cover all eight
# factory programs, chords, pitch bends, voice stealing (more than nine notes), all notes
# off, a type 1 MIDI file with a tempo change, three sample rates and five block sizes,
# the start-up sound and edited parameters.
#
#   tests/identity/compare_targets.sh NATIVE_BUILD WIN32_BUILD WIN64_BUILD
#
# Exits 0 when every output is identical across the ten targets, 1 when anything
# differs or fails (each such case is named), 2 on wrong arguments or missing builds.
# Set QUINDLE_IDENTITY_KEEP=1 to keep the work directory with all rendered files.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
wine_run="$repo/cmake/wine-run.sh"

if [ $# -ne 3 ]; then
  echo "usage: $0 NATIVE_BUILD WIN32_BUILD WIN64_BUILD" >&2
  exit 2
fi
targets=(native win32 win64 lv2 vst3-native vst3-win32 vst3-win64 clap-native clap-win32 clap-win64)
module_targets=(native win32 win64)  # the VST 2.4 modules, which also save banks
declare -A build_dir
build_dir[native]=$(cd "$1" 2>/dev/null && pwd) || { echo "no build directory $1" >&2; exit 2; }
build_dir[win32]=$(cd "$2" 2>/dev/null && pwd) || { echo "no build directory $2" >&2; exit 2; }
build_dir[win64]=$(cd "$3" 2>/dev/null && pwd) || { echo "no build directory $3" >&2; exit 2; }
build_dir[lv2]=${build_dir[native]}
for build in native win32 win64; do build_dir[vst3-$build]=${build_dir[$build]} build_dir[clap-$build]=${build_dir[$build]}; done
for target in "${targets[@]}"; do
  dir=${build_dir[$target]}
  case $target in
    native) files=("$dir/quindle-host" "$dir/Quindle.so") ;;
    lv2) files=("$dir/quindle-host" "$dir/Quindle.lv2/manifest.ttl") ;;
    vst3-native) files=("$dir/quindle-host" "$dir/Quindle.vst3/Contents/x86_64-linux/Quindle.so") ;;
    vst3-win32) files=("$dir/quindle-host.exe" "$dir/Quindle.vst3/Contents/x86-win/Quindle.vst3") ;;
    vst3-win64) files=("$dir/quindle-host.exe" "$dir/Quindle.vst3/Contents/x86_64-win/Quindle.vst3") ;;
    clap-native) files=("$dir/quindle-host" "$dir/Quindle.clap") ;;
    clap-*) files=("$dir/quindle-host.exe" "$dir/Quindle.clap") ;;
    *) files=("$dir/quindle-host.exe" "$dir/Quindle.dll") ;;
  esac
  for file in "${files[@]}"; do
    [ -f "$file" ] || { echo "missing $file (build the $(basename "$dir") target first)" >&2; exit 2; }
  done
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quindle-identity.XXXXXX")
if [ "${QUINDLE_IDENTITY_KEEP:-0}" = 1 ]; then
  echo "work directory: $work"
else
  trap 'rm -rf "$work"' EXIT
fi
cd "$work" || exit 2

# host TARGET VERB ARGS...: runs that target's quindle-host on its own plug-in. Files are
# named relative to the work directory, which wine maps through its Z: drive as well.
host() {
  local target=$1 verb=$2
  shift 2
  local dir=${build_dir[$target]}
  case $target in
    native) "$dir/quindle-host" "$verb" "$dir/Quindle.so" "$@" ;;
    lv2) "$dir/quindle-host" "$verb" "$dir/Quindle.lv2" "$@" ;;
    vst3-native) "$dir/quindle-host" "$verb" "$dir/Quindle.vst3" "$@" ;;
    vst3-*) "$wine_run" "$dir/quindle-host.exe" "$verb" "Z:$dir/Quindle.vst3" "$@" ;;
    clap-native) "$dir/quindle-host" "$verb" "$dir/Quindle.clap" "$@" ;;
    clap-*) "$wine_run" "$dir/quindle-host.exe" "$verb" "Z:$dir/Quindle.clap" "$@" ;;
    *) "$wine_run" "$dir/quindle-host.exe" "$verb" "Z:$dir/Quindle.dll" "$@" ;;
  esac
}

# --- inputs ---------------------------------------------------------------------------

cat > chords.txt <<'SEQ'
# chords, a bend up and back, releases overlapping the next chord
0.05 on 48 100
0.05 on 55 90
0.05 on 60 80
0.05 on 64 70
0.40 bend 12288
0.60 bend 8192
0.70 off 48
0.70 off 55
0.70 off 60
0.70 off 64
0.72 on 53 127
0.72 on 57 64
0.72 on 60 32
0.72 on 65 1
1.10 bend 0
1.30 off 53
1.30 off 57
1.30 off 60
1.30 off 65
SEQ

cat > stealing.txt <<'SEQ'
# twelve overlapping notes on nine voices, bends across note starts, velocity-0 note-offs,
# a note below the table, repeated notes, and all notes off in the middle of a block
0.000 on 36 100
0.011 on 40 100
0.023 on 43 110
0.034 on 47 90
0.046 on 50 80
0.057 on 54 120
0.069 on 57 60
0.080 on 61 100
0.092 on 64 100
0.103 on 68 127
0.115 on 71 100
0.126 on 75 100
0.200 bend 4096
0.250 on 7 100
0.300 on 36 0
0.310 off 40
0.400 bend 16383
0.450 on 80 90
0.450 on 80 90
0.500 off 80
0.600 cc 123 0
0.601 on 60 100
0.700 bend 8192
0.800 off 60
0.900 cc 126 0
SEQ

# A type 1 MIDI file: tempo changes in track 0, running status, a system-exclusive
# message and velocity-0 note-offs in track 1.
# shellcheck disable=SC2059  # each pair of hex digits becomes one \x escape on purpose
hexbytes() { local hex=${1// /}; local i; for ((i = 0; i < ${#hex}; i += 2)); do printf "\\x${hex:i:2}"; done; }
track() { local body=${1// /}; printf 'MTrk'; hexbytes "$(printf '%08x' $((${#body} / 2)))"; hexbytes "$body"; }
{
  printf 'MThd'; hexbytes "00000006 0001 0002 0060"
  track "00 FF5103 07A120  8140 FF5103 061A80  00 FF2F00"
  track "00 903C64 00 4064 00 F0037E7FF7 60 4350 60 3C00 00 E00050 8100 804000 00 4300 60 FF2F00"
} > tempo.mid

# --- cases ----------------------------------------------------------------------------

cases=()
add() { cases+=("$*"); }
for program in 0 1 2 3 4 5 6 7; do
  add "program$program chords.txt --program $program --rate 44100 --block 1024 --tail 0.8"
done
for rate in 44100 48000 96000; do
  for block in 32 64 1000 1024 4096; do
    add "steal-$rate-$block stealing.txt --program 2 --rate $rate --block $block --tail 0.3"
  done
done
# No program chosen: the start-up sound (the LV2 ports' defaults).
add "start-up chords.txt --rate 44100 --block 1024 --tail 0.8"
add "midi-file tempo.mid --program 5 --rate 48000 --block 64 --tail 0.5"
add "pcm16 chords.txt --program 7 --rate 44100 --block 512 --format s16 --tail 0.5"
add "edited chords.txt --program 4 --set 0=0.5,5=0.9,7=0.2,12=0.6 --rate 48000 --block 1000 --tail 0.5"

status=0
declare -A hash_of

report() {  # NAME TARGET...: compares the hashes stored for NAME on those targets
  local name=$1 line="" first="" same=1 target
  shift
  for target in "$@"; do
    local h=${hash_of[$name,$target]}
    line+="  $target=${h:0:16}"
    if [ -z "$first" ]; then first=$h; elif [ "$h" != "$first" ]; then same=0; fi
  done
  if [ $same = 1 ] && [ "$first" != failed ]; then
    printf '%-18s identical%s\n' "$name" "$line"
  else
    printf '%-18s DIFFERENT%s\n' "$name" "$line"
    status=1
  fi
}

for entry in "${cases[@]}"; do
  read -r name input options <<< "$entry"
  for target in "${targets[@]}"; do
    out="$name.$target.wav"
    # shellcheck disable=SC2086  # the options are words on purpose
    if host "$target" render "$input" "$out" $options > "$out.log" 2>&1 && [ -s "$out" ]; then
      hash_of[$name,$target]=$(sha256sum "$out" | cut -d' ' -f1)
    else
      hash_of[$name,$target]=failed
      echo "$name: the $target render failed: $(tr -d '\r' < "$out.log" | head -3)" >&2
    fi
  done
  report "$name" "${targets[@]}"
  # Identical silence would prove nothing: every render must hold sound.
  # The samples start after a 58-byte header (float, format tag 3) or a 44-byte one (PCM).
  format_tag=$(od -An -tu2 -j20 -N2 "$name.native.wav" 2>/dev/null | tr -d ' ')
  data_offset=$(( format_tag == 3 ? 59 : 45 ))
  if [ "${hash_of[$name,native]}" != failed ] &&
     [ "$(tail -c +$data_offset "$name.native.wav" | tr -d '\0' | head -c 1 | wc -c)" = 0 ]; then
    echo "$name: the render is silent"
    status=1
  fi
done

# The program option must reach the sound: eight programs, eight different renders.
distinct=$(for program in 0 1 2 3 4 5 6 7; do echo "${hash_of[program$program,native]}"; done | sort -u | wc -l)
if [ "$distinct" != 8 ]; then
  echo "the eight programs gave only $distinct different renders"
  status=1
fi

# The factory bank each module saves, and the one the repository ships.
for target in "${module_targets[@]}"; do
  out="factory.$target.fxb"
  if host "$target" save-bank "$out" > "$out.log" 2>&1 && [ -s "$out" ]; then
    hash_of[factory-bank,$target]=$(sha256sum "$out" | cut -d' ' -f1)
  else
    hash_of[factory-bank,$target]=failed
    echo "factory-bank: the $target save failed: $(tr -d '\r' < "$out.log" | head -3)" >&2
  fi
done
report factory-bank "${module_targets[@]}"
if [ -f "$repo/Quindle-factory.fxb" ]; then
  if cmp -s "$repo/Quindle-factory.fxb" factory.native.fxb; then
    echo "committed Quindle-factory.fxb equals the saved factory bank"
  else
    echo "committed Quindle-factory.fxb DIFFERS from the bank the native module saves"
    status=1
  fi
else
  echo "no committed Quindle-factory.fxb to compare"
  status=1
fi

count=$(( ${#cases[@]} + 1 ))
if [ $status = 0 ]; then
  echo "identity: $count outputs identical on native, win32, win64, the LV2 bundle, the three VST 3 bundles and the three CLAP builds (banks: the three modules)"
else
  echo "identity: differences found (see DIFFERENT above)"
fi
exit $status
