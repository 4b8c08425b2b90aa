#!/bin/sh
# Fails when the library exports a symbol outside the allowed list.
set -eu
lib=$1
allowed=$2
nm -D --defined-only "$lib" | awk '$2 ~ /^[TWDBRV]$/ {sub(/@.*/, "", $3); print $3}' | sort -u > "${TMPDIR:-/tmp}/exports.$$"
extra=$(grep -vxF -f "$allowed" "${TMPDIR:-/tmp}/exports.$$" || true)
count=$(wc -l < "${TMPDIR:-/tmp}/exports.$$")
rm -f "${TMPDIR:-/tmp}/exports.$$"
if [ -n "$extra" ]; then
  echo "unexpected exports:"
  echo "$extra"
  exit 1
fi
for required in ZARN_InitCatalogManager ZARN_GetCatalogMangerInitialisation ZARN_ResetCatalog \
                ZARN_SetCatalogLanguage ZARN_OmCallBack SysAllocString SysFreeString VariantClear; do
  nm -D --defined-only "$lib" | grep -qw "$required" || { echo "missing export $required"; exit 1; }
done
# Every export carries the library's symbol version, so hosts bind to this interface.
unversioned=$(nm -D --defined-only "$lib" | awk '$2 ~ /^[TWDBRV]$/ && $3 !~ /@@ZARN_CATALOG_1$/ {print $3}')
if [ -n "$unversioned" ]; then
  echo "exports without the version node ZARN_CATALOG_1:"
  echo "$unversioned"
  exit 1
fi
echo "$count exports, all allowed and versioned"
