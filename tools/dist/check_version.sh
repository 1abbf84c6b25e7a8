#!/usr/bin/env bash
# Release check, run by ctest in the native build: the version in cmake/Version.cmake, the
# vendor version the built module reports, and the name of the zip that make_dist.sh packs
# from it agree, and the zip holds the four files it must.
#
#   bash tools/dist/check_version.sh BUILD_DIR     (BUILD_DIR holds Quindle.so, quindle-host)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: check_version.sh BUILD_DIR}" && pwd)
passed=0
failed=0
check() {
  if [ "$1" = "$2" ]; then
    echo "ok    $3: $1"; passed=$((passed + 1))
  else
    echo "FAIL  $3: '$1', expected '$2'"; failed=$((failed + 1))
  fi
}
vendor_version_of() {
  "$build/quindle-host" info "$1" | sed -n 's/^vendor version *\([0-9-]*\).*/\1/p'
}

read -r version vendor_version < <(cmake -P "$here/print_version.cmake")
IFS=. read -r major minor patch <<<"$version"
check "$vendor_version" "$((major * 1000 + minor * 100 + patch * 10))" "vendor version of $version"
check "$(vendor_version_of "$build/Quindle.so")" "$vendor_version" "vendor version reported by the built module"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QUINDLE_NATIVE_BUILD="$build" bash "$here/make_dist.sh" --out "$work/dist" --targets linux >"$work/dist.log" 2>&1 ||
  { cat "$work/dist.log"; echo "FAIL  make_dist.sh"; exit 1; }
check "$(cd "$work/dist" && ls)" "quindle-$version-linux.zip" "zip made for linux"

zip="$work/dist/quindle-$version-linux.zip"
if [ -f "$zip" ]; then
  listing=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
  folder="quindle-$version-linux"
  lv2="$folder/Quindle.lv2"
  vst3="$folder/Quindle.vst3"
  check "$listing" "$folder/ $folder/INSTALL.txt $folder/LICENSE $folder/Quindle-factory.fxb $folder/Quindle.clap $lv2/ $lv2/Quindle.so $lv2/QuindleUI.so $lv2/manifest.ttl $lv2/presets.ttl $lv2/quindle.ttl $folder/Quindle.so $vst3/ $vst3/Contents/ $vst3/Contents/x86_64-linux/ $vst3/Contents/x86_64-linux/Quindle.so " \
    "zip contents"
  unzip -q "$zip" -d "$work/unpacked"
  check "$(vendor_version_of "$work/unpacked/$folder/Quindle.so")" "$vendor_version" "vendor version of the packed module"
  check "$(sed -n 1p "$work/unpacked/$folder/INSTALL.txt")" "Quindle $version for Linux (x86-64)" "INSTALL.txt title"
  check "$(grep -oE 'lv2:(minor|micro)Version [0-9]+' "$work/unpacked/$lv2/quindle.ttl" | awk '{print $2}' | tr '\n' .)" \
    "$minor.$patch." "LV2 minor and micro version"
fi

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
