#!/usr/bin/env bash
# Checks a module's export table (exactly the names given, VSTPluginMain and main when
# none are) and, for a DLL (known by its contents, whatever the name: a .dll, the .vst3
# of a Windows VST 3 bundle, a .clap), that every
# imported library is a system DLL, so users copy one file.
#   check_exports.sh MODULE OBJDUMP [EXPORTED_NAME ...]
set -euo pipefail
export LC_ALL=C
module=$1
objdump=$2
shift 2
[ $# -gt 0 ] || set -- VSTPluginMain main
expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
format=elf
[ "$(head -c 2 "$module")" = MZ ] && format=pe
case "$format" in
  pe)
    table=$("$objdump" -p "$module")
    exports=$(echo "$table" | awk '/\[Ordinal\/Name Pointer\] Table/{on=1;next} on&&/^[ \t]*\[/{print $NF;next} on{on=0}' | sort | tr '\n' ' ')
    imports=$(echo "$table" | awk '/DLL Name:/{print $3}' | sort -u | tr '\n' ' ')
    echo "exports: $exports"
    echo "imports: $imports"
    [ "$exports" = "$expected" ] || { echo "unexpected exports (expected $expected)"; exit 1; }
    for dll in $imports; do
      case "${dll,,}" in
        kernel32.dll|user32.dll|gdi32.dll|msvcrt.dll|advapi32.dll|api-ms-win-*) ;;
        *) echo "non-system import: $dll"; exit 1 ;;
      esac
    done
    ;;
  *)
    exports=$(nm -D --defined-only "$module" | awk '$2 ~ /[TtWwDdBbRr]/ {print $3}' | sort | tr '\n' ' ')
    echo "exports: $exports"
    [ "$exports" = "$expected" ] || { echo "unexpected exports (expected $expected)"; exit 1; }
    ;;
esac
echo "ok"
