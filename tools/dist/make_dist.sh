#!/usr/bin/env bash
# Builds the distributable files: one zip per target in dist/,
#   quindle-<version>-win32.zip, quindle-<version>-win64.zip, quindle-<version>-linux.zip,
# each holding one folder of the same name with the VST 2 module, the plug-ins of the other
# formats (every target: Quindle.vst3 and Quindle.clap; Linux also Quindle.lv2), the factory
# bank (Quindle-factory.fxb), INSTALL.txt and LICENSE. The version comes from
# cmake/Version.cmake; before anything is packed, quindle-host must report that version's
# vendor number for the VST 2 module and the version itself for the VST 3 and CLAP plug-ins.
#
#   bash tools/dist/make_dist.sh [--out DIR] [--targets "win32 win64 linux"]
#   make dist     (set-up and all builds first)
#
# Environment: QUINDLE_NATIVE_BUILD, QUINDLE_WIN32_BUILD, QUINDLE_WIN64_BUILD (defaults
# build/native, build/win32, build/win64), QUINDLE_FACTORY_BANK (default: the repository's
# Quindle-factory.fxb, else the one the native build saved).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/dist"
targets="win32 win64 linux"
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out=$2; shift 2 ;;
    --targets) targets=$2; shift 2 ;;
    *) echo "usage: make_dist.sh [--out DIR] [--targets \"win32 win64 linux\"]" >&2; exit 2 ;;
  esac
done

read -r version vendor_version < <(cmake -P "$here/print_version.cmake")
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "dist: no version in cmake/Version.cmake" >&2; exit 1; }

native_build=${QUINDLE_NATIVE_BUILD:-$root/build/native}
win32_build=${QUINDLE_WIN32_BUILD:-$root/build/win32}
win64_build=${QUINDLE_WIN64_BUILD:-$root/build/win64}
bank=${QUINDLE_FACTORY_BANK:-$root/Quindle-factory.fxb}
[ -f "$bank" ] || bank="$native_build/Quindle-factory.fxb"
[ -f "$bank" ] || { echo "dist: no Quindle-factory.fxb (repository root or $native_build)" >&2; exit 1; }

# The Windows modules are asked for their version under wine, in a prefix of the release
# scripts' own: a wine server started here without a display must not be the one the
# Windows tests later find running.
export WINEPREFIX="$root/build/dist-wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
finish() { [ ! -d "$WINEPREFIX" ] || wineserver -k >/dev/null 2>&1 || true; }
trap finish EXIT

# What quindle-host of the plug-in's own kind says of it ("info"); Windows hosts run under
# wine and get the path on wine's Z: drive.
plugin_info() {
  local host=$1 plugin=$2 runner=()
  if [[ "$host" == *.exe ]]; then
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "dist: creating the wine prefix $WINEPREFIX (once)" >&2
      mkdir -p "$WINEPREFIX"
      # The registry files appear when the server that wineboot started exits.
      wineboot -i >/dev/null 2>&1
      wineserver -w
    fi
    runner=(wine)
    plugin="Z:$plugin"
  fi
  "${runner[@]}" "$host" info "$plugin" 2>/dev/null
}
# The vendor version a VST 2 module reports, and the version a VST 3 or CLAP plug-in does.
reported_vendor_version() { plugin_info "$1" "$2" | sed -n 's/^vendor version *\([0-9-]*\).*/\1/p'; }
reported_version() { plugin_info "$1" "$2" | sed -n 's/^version *\([0-9.]*\).*/\1/p' | head -n 1; }

# Zip entries get the time of the last commit, so that the same sources give the same zips.
stamp=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out"/quindle-*.zip  # zips of an earlier version go too
work=$(mktemp -d)
trap 'rm -rf "$work"; finish' EXIT

for target in $targets; do
  case "$target" in
    win32) build=$win32_build module=Quindle.dll host=quindle-host.exe arch=x86 bits=32 kind=windows bundles=(Quindle.vst3 Quindle.clap) ;;
    win64) build=$win64_build module=Quindle.dll host=quindle-host.exe arch=x64 bits=64 kind=windows bundles=(Quindle.vst3 Quindle.clap) ;;
    linux) build=$native_build module=Quindle.so host=quindle-host arch=x86-64 bits=64 kind=linux bundles=(Quindle.lv2 Quindle.vst3 Quindle.clap) ;;
    *) echo "dist: unknown target '$target' (win32, win64, linux)" >&2; exit 2 ;;
  esac
  for f in "$build/$module" "$build/$host" "${bundles[@]/#/$build/}"; do
    [ -e "$f" ] || { echo "dist: $f is missing; build the $target target first" >&2; exit 1; }
  done
  reported=$(reported_vendor_version "$build/$host" "$build/$module")
  if [ "$reported" != "$vendor_version" ]; then
    echo "dist: $build/$module reports vendor version '${reported:-none}', cmake/Version.cmake says $version ($vendor_version)" >&2
    exit 1
  fi
  for plugin in Quindle.vst3 Quindle.clap; do
    said=$(reported_version "$build/$host" "$build/$plugin")
    if [ "$said" != "$version" ]; then
      echo "dist: $build/$plugin reports version '${said:-none}', cmake/Version.cmake says $version" >&2
      exit 1
    fi
  done

  name="quindle-$version-$target"
  folder="$work/$name"
  mkdir -p "$folder"
  cp "$build/$module" "$folder/$module"
  for bundle in "${bundles[@]}"; do cp -R "$build/$bundle" "$folder/$bundle"; done
  cp "$bank" "$folder/Quindle-factory.fxb"
  cp "$root/LICENSE" "$folder/LICENSE"
  sed -e "s/@VERSION@/$version/g" -e "s/@ARCH@/$arch/g" -e "s/@BITS@/$bits/g" \
    "$here/INSTALL-$kind.txt" >"$folder/INSTALL.txt"
  find "$folder" -exec touch -d "@$stamp" {} +
  rm -f "$out/$name.zip"
  (cd "$work" && find "$name" | LC_ALL=C sort | zip -q -X "$out/$name.zip" -@)
  echo "dist: $out/$name.zip ($module reports vendor version $reported)"
done
