#!/bin/sh
# Checks that every CMake package the configured build found comes from a
# Debian package that installing the Makefile's list brings in, so that a
# fresh machine (apt-get install --no-install-recommends) configures too.
#
#   tools/check-deps.sh <build dir> <package>...
#
# Each <Name>_DIR of the CMake cache whose folder holds <Name>Config.cmake or
# <name>-config.cmake is a package directory; dpkg -S names the Debian package
# owning that file, which must be in the dependency closure of the list
# without recommends (apt-cache depends --recurse --no-recommends).
set -eu

if [ $# -lt 2 ]; then
  echo "usage: $0 <build dir> <package>..." >&2
  exit 2
fi
build=$1; shift
cache=$build/CMakeCache.txt
if [ ! -f "$cache" ]; then
  echo "check-deps: $cache not found; configure first" >&2
  exit 2
fi
for tool in dpkg apt-cache; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "check-deps: $tool not available, dependency check skipped"
    exit 0
  fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The closure: every package apt would install for the list, recommends and
# suggestions left out. Top-level lines are package names; virtual ones come
# in angle brackets and are no file's owner.
apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
  --no-breaks --no-replaces --no-enhances "$@" 2>"$tmp/apt.err" \
  | sed -n 's/^\([a-z0-9][a-z0-9+.-]*\)\(:[a-z0-9]*\)\{0,1\}$/\1/p' | sort -u >"$tmp/closure" || true
if [ ! -s "$tmp/closure" ]; then
  echo "check-deps: apt-cache found none of the listed packages:" >&2
  cat "$tmp/apt.err" >&2
  exit 1
fi

# Package directories and their config files, as "<name> <config file>".
sed -n 's/^\([A-Za-z0-9_]*\)_DIR:[A-Z]*=\(.*\)$/\1 \2/p' "$cache" | while read -r name dir; do
  [ -d "$dir" ] || continue
  lower=$(printf '%s' "$name" | tr 'A-Z' 'a-z')
  for candidate in "$dir/${name}Config.cmake" "$dir/${lower}-config.cmake"; do
    if [ -f "$candidate" ]; then echo "$name $candidate"; break; fi
  done
done >"$tmp/configs"

# One dpkg query for all of them (each one is slow). The cache may hold a
# path through a symbolic link; dpkg knows the file under the name it
# installed, so both names are asked for.
: >"$tmp/owners"
if [ -s "$tmp/configs" ]; then
  while read -r name config; do
    echo "$config"; readlink -f "$config"
  done <"$tmp/configs" | sort -u | tr '\n' '\0' \
    | xargs -0 dpkg -S 2>/dev/null \
    | sed -n 's/^\([^:, ]*\)\(:[a-z0-9]*\)\{0,1\}: \(.*\)$/\3 \1/p' >"$tmp/owners" || true
fi

status=0
checked=0
while read -r name config; do
  checked=$((checked + 1))
  real=$(readlink -f "$config")
  owner=$(awk -v a="$config" -v b="$real" '$1 == a || $1 == b { print $2; exit }' "$tmp/owners")
  if [ -z "$owner" ]; then
    echo "check-deps: $name ($config) belongs to no Debian package; not checked"
    continue
  fi
  if ! grep -qx "$owner" "$tmp/closure"; then
    echo "check-deps: CMake package $name comes from the Debian package $owner," >&2
    echo "  which installing the Makefile's list without recommends does not bring in." >&2
    echo "  Add $owner to DEB_PACKAGES in the Makefile." >&2
    status=1
  fi
done <"$tmp/configs"

if [ "$status" = 0 ]; then
  echo "check-deps: all $checked CMake packages come from the listed packages or their dependencies"
fi
exit $status
