#!/usr/bin/env bash
# Checks that a shared library exports exactly the classes that its headers
# mark with the export macro: every C++ symbol it defines belongs to one of
# them, none to a class declared without the macro, and each marked class is
# really there. The class lists come from the headers under the source dir.
#   check-exported-symbols.sh <library.so> <source dir> [export macro]
set -euo pipefail
library=$1
sources=$2
macro=${3:-KXPARAMETERCUSTOMLIST_EXPORT}

declarations=$(grep -rhE --include='*.h' '^(class|struct)[[:space:]]+[A-Za-z_]' "$sources" | grep -vE ';[[:space:]]*$' || true)
exported=$(sed -nE "s/^(class|struct)[[:space:]]+$macro[[:space:]]+([A-Za-z_][A-Za-z0-9_]*).*/\2/p" <<<"$declarations" | sort -u)
internal=$(grep -v "$macro" <<<"$declarations" | sed -nE 's/^(class|struct)[[:space:]]+([A-Za-z_][A-Za-z0-9_]*).*/\2/p' | sort -u)
if [ -z "$exported" ] || [ -z "$internal" ]; then
  echo "could not read the exported and the internal classes from $sources" >&2
  exit 2
fi

# "<type> <name>" per symbol. Weak definitions of other libraries' inline code
# (Qt's, in unoptimised builds) are theirs to export; strong ones must be ours.
symbols=$(nm -D --defined-only "$library" | awk '{ print $(NF-1), $NF }')
# Symbols that the linker defines in every shared object, and the sanitizers'
# bookkeeping.
plain=$(grep -v ' _Z' <<<"$symbols" | awk '{ print $2 }' \
  | grep -vxE '_edata|_end|__bss_start|_init|_fini|__odr_asan\..*' || true)
owner_of() {
  c++filt | sed -E 's/^([A-Za-z]) ((non-virtual |virtual |covariant return )?thunk to |(vtable|typeinfo name|typeinfo|VTT|guard variable) for )?/\1 /' \
    | sed -E 's/(::|\().*//'
}
owners=$(grep ' _Z' <<<"$symbols" | owner_of | sort -u)
strong_owners=$(grep -vE '^[WVu] ' <<<"$owners" | cut -d' ' -f2- | sort -u)
owners=$(cut -d' ' -f2- <<<"$owners" | sort -u)

status=0
while IFS= read -r owner; do
  if grep -qxF "$owner" <<<"$internal"; then
    echo "internal class exported: $owner" >&2; status=1
  fi
done <<<"$owners"
known="$exported"$'\n'"$internal"
while IFS= read -r owner; do
  if [ -n "$owner" ] && ! grep -qxF "$owner" <<<"$known"; then
    echo "symbol of something not marked $macro exported: $owner" >&2; status=1
  fi
done <<<"$strong_owners"
for class in $exported; do
  grep -qxF "$class" <<<"$owners" || { echo "exported class missing from the library: $class" >&2; status=1; }
done
if [ -n "$plain" ]; then
  echo "unmangled symbols exported:" $plain >&2; status=1
fi

[ $status -eq 0 ] && echo "$(wc -w <<<"$exported") exported classes, $(wc -w <<<"$internal") internal classes hidden"
exit $status
