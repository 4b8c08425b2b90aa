/* A host written in C: initialise, read the catalog directory, change settings, reset.
 * Usage: host_c_test SOURCE_DIR (unused for now). Exit status 0 on success. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "zarn/catalog_manager.h"

static int failures = 0;

#define CHECK(cond)                                              \
  do {                                                           \
    if (!(cond)) {                                               \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                \
    }                                                            \
  } while (0)

/* Widens an ASCII text into a static buffer. */
static const char16_t* Wide(const char* s) {
  static char16_t buffer[4][512];
  static int slot = 0;
  char16_t* out = buffer[slot++ % 4];
  size_t i = 0;
  for (; s[i] != '\0' && i < 511; ++i) out[i] = (char16_t)(unsigned char)s[i];
  out[i] = 0;
  return out;
}

/* Narrows an ASCII BSTR for comparison. */
static void Narrow(BSTR s, char* out, size_t size) {
  uint32_t n = SysStringLen(s);
  size_t i = 0;
  for (; i < n && i + 1 < size; ++i) out[i] = (char)s[i];
  out[i] = '\0';
}

int main(void) {
  char dir[] = "/tmp/zarn_host_XXXXXX";
  if (mkdtemp(dir) == NULL) return 2;
  char expected[600];
  snprintf(expected, sizeof expected, "%s/zarn_catalog", dir);

  CHECK(ZARN_InitCatalogManager(Wide(dir)) == ZARN_OK);
  VARIANT v;
  VariantInit(&v);
  CHECK(ZARN_GetCatalogMangerInitialisation(&v) == ZARN_OK);
  CHECK(v.vt == VT_BSTR);
  char got[600];
  Narrow(v.bstrVal, got, sizeof got);
  CHECK(strcmp(got, expected) == 0);
  VariantClear(&v);
  CHECK(v.vt == VT_EMPTY);

  CHECK(ZARN_SetCatalogLanguage(Wide("de")) == ZARN_OK);
  VARIANT lang;
  VariantInit(&lang);
  lang.vt = VT_BSTR;
  lang.bstrVal = SysAllocString(Wide("fr"));
  CHECK(ZARN_OmCallBack(Wide("GUI_Language"), lang) == ZARN_OK);
  VariantClear(&lang);

  CHECK(ZARN_ResetCatalog() == ZARN_OK);
  CHECK(ZARN_ResetCatalog() == ZARN_OK);
  CHECK(ZARN_InitCatalogManager(Wide("/proc/zarn/not/writable")) == ZARN_OK);
  CHECK(ZARN_GetCatalogMangerInitialisation(&v) == ZARN_E_NO_CATALOG);
  CHECK(ZARN_SetCatalogLanguage(Wide("de")) == ZARN_E_NO_CATALOG);

  char command[700];
  snprintf(command, sizeof command, "rm -rf '%s'", dir);
  if (system(command) != 0) ++failures;
  if (failures == 0) printf("host C test passed\n");
  return failures == 0 ? 0 : 1;
}
