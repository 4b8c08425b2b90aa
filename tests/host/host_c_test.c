/* A host written in C: initialise, read the catalog directory, change settings, reset;
 * then import the sample devices, query, replace, delete, reset and re-open the catalog
 * from disk. Usage: host_c_test SOURCE_DIR (the project's source directory, holding
 * data/catalogData and examples/devices). Exit status 0 on success. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "tests/host/host_checks.h"
#include "zarn/catalog_manager.h"

/* Narrows a NUL-terminated ASCII UTF-16 text (NULL gives ""). */
static void NarrowText(const char16_t* s, char* out, size_t size) {
  size_t i = 0;
  for (; s != NULL && s[i] != 0 && i + 1 < size; ++i) out[i] = (char)s[i];
  out[i] = '\0';
}

/* Narrows an ASCII BSTR for comparison. */
static void Narrow(BSTR s, char* out, size_t size) {
  uint32_t n = SysStringLen(s);
  size_t i = 0;
  for (; i < n && i + 1 < size; ++i) out[i] = (char)s[i];
  out[i] = '\0';
}

/* What the sample import brought: the component path and component XML file of
 * each imported source. */
#define MAX_IMPORTED 16
static char imported_path[MAX_IMPORTED][512];
static char imported_file[MAX_IMPORTED][512];
static char imported_source[MAX_IMPORTED][512];
static int imported = 0;

/* Imports the first component of every source that ZARN_GetComponents lists for
 * `directory` (sources that fail to import are skipped). */
static void ImportDirectory(const char* directory) {
  ComponentXMLInfo* listing = NULL;
  if (ZARN_GetComponents(Wide(directory), &listing, NULL) != ZARN_OK) return;
  for (const ComponentXMLInfo* l = listing; l != NULL && imported < MAX_IMPORTED; l = l->next) {
    char source[512];
    NarrowText(l->componentXmlPath, source, sizeof source);
    ComponentXMLInfo* records = NULL;
    if (ZARN_GetComponents(Wide(source), &records, NULL) == ZARN_OK && records != NULL) {
      char file[512];
      NarrowText(records->componentXmlPath, file, sizeof file);
      LogPathEntry* paths = NULL;
      if (ZARN_ImportComponent(Wide(file), &paths, 0) == ZARN_OK && paths != NULL && paths->path != NULL) {
        NarrowText(paths->path, imported_path[imported], sizeof imported_path[0]);
        snprintf(imported_file[imported], sizeof imported_file[0], "%s", file);
        snprintf(imported_source[imported], sizeof imported_source[0], "%s", source);
        ++imported;
      }
      if (paths != NULL) ZARN_FreeLogPaths(paths);
    }
    ZARN_FreeComponentXMLInfo(records);
  }
  ZARN_FreeComponentXMLInfo(listing);
}

/* True when the catalog has an element at `path`. */
static int Present(const char* path) {
  LogPathEntry* entries = NULL;
  uint32_t rc = ZARN_GetLogPath(Wide(path), &entries, 0);
  if (entries != NULL) ZARN_FreeLogPaths(entries);
  return rc == ZARN_OK;
}

/* Lays out a catalog in dir, imports the sample HART devices and works with them. */
static void Catalog(const char* dir, const char* source_dir) {
  char command[1400];
  snprintf(command, sizeof command,
           "mkdir -p '%s/zarn_catalog' && cp -r '%s/data/catalogData' '%s/examples/devices/zarn_catalog/Device' "
           "'%s/zarn_catalog/'",
           dir, source_dir, source_dir, dir);
  CHECK(system(command) == 0);
  CHECK(ZARN_InitCatalogManager(Wide(dir)) == ZARN_OK);

  static const char* const kSamples[] = {"hart/zentrifex", "hart/quellmark", "hart/tarvona",
                                         "ff/zentrifex",   "ff/quellmark",   "profibus_dp"};
  for (size_t i = 0; i < sizeof kSamples / sizeof kSamples[0]; ++i) {
    char samples[600];
    snprintf(samples, sizeof samples, "%s/examples/devices/%s", source_dir, kSamples[i]);
    ImportDirectory(samples);
  }
  CHECK(imported >= 2);
  if (imported < 2) return;
  const char* first_path = imported_path[0];
  const char* first_file = imported_file[0];
  const char* second_path = imported_path[imported - 1];
  CHECK(first_path[0] == '/' && second_path[0] == '/' && strcmp(first_path, second_path) != 0);

  /* Attributes, relations, log paths. */
  CompAttrInfo* attributes = NULL;
  CHECK(ZARN_GetComponentAttributes(Wide(first_path), &attributes) == ZARN_OK);
  CHECK(attributes != NULL);
  ZARN_FreeCompAttrInfoList(attributes);
  RelationInfo* relations = NULL;
  uint32_t rc = ZARN_GetRelations(ZARN_RELATION_CHILD, Wide(first_path), &relations);
  CHECK(rc == ZARN_OK || rc == ZARN_E_NO_RELATION);
  ZARN_FreeRelations(relations);
  CHECK(Present(first_path) && Present(second_path));

  /* The component is there; replacing it deletes and imports it again. The source
   * is converted anew: component XML files live only until the next conversion. */
  ComponentXMLInfo* again = NULL;
  CHECK(ZARN_GetComponents(Wide(imported_source[0]), &again, NULL) == ZARN_OK && again != NULL);
  char fresh[512] = "";
  if (again != NULL) NarrowText(again->componentXmlPath, fresh, sizeof fresh);
  ZARN_FreeComponentXMLInfo(again);
  first_file = fresh;
  VARIANT r[4];
  for (int i = 0; i < 4; ++i) VariantInit(&r[i]);
  /* Module descriptions are placed where the file lookup does not find them yet;
   * their replacement then falls back to an import that finds them present. */
  const uint32_t exists = ZARN_IsComponentExistent(Wide(first_file), &r[0], &r[1], &r[2], &r[3]);
  CHECK(exists == ZARN_OK || exists == ZARN_E_NOT_IN_CATALOG);
  for (int i = 0; i < 4; ++i) VariantClear(&r[i]);
  LogPathEntry* paths = NULL;
  rc = ZARN_ReplaceComponent(Wide(first_file), &r[0], &r[1], &paths);
  if (exists == ZARN_OK) {
    CHECK(rc == ZARN_S_REPLACED || rc == ZARN_E_OTHER_DD_REVISION);
  } else {
    /* The import updates the present component, or reports it present. */
    CHECK(rc == ZARN_OK || rc == ZARN_E_ALREADY_PRESENT ||
          (rc >= ZARN_E_SAME_DEVICE_REVISION && rc <= ZARN_E_OTHER_DD_REVISION));
  }
  if (paths != NULL) ZARN_FreeLogPaths(paths);
  VariantClear(&r[0]);
  VariantClear(&r[1]);
  CHECK(Present(first_path));

  /* Deleting the second one. */
  CHECK(ZARN_DeleteComponent(Wide(second_path), &r[0], &r[1]) == ZARN_OK);
  CHECK(r[0].vt == VT_BSTR && SysStringLen(r[0].bstrVal) > 0);
  VariantClear(&r[0]);
  VariantClear(&r[1]);
  CHECK(!Present(second_path));
  CHECK(ZARN_DeleteComponent(Wide(second_path), &r[0], &r[1]) == ZARN_E_NOT_FOUND);

  /* The same state after re-reading the catalog from disk. */
  CHECK(ZARN_ResetCatalog() == ZARN_OK);
  CHECK(ZARN_InitCatalogManager(Wide(dir)) == ZARN_OK);
  CHECK(Present(first_path));
  CHECK(!Present(second_path));
  CHECK(ZARN_ResetCatalog() == ZARN_OK);
}

int main(int argc, char** argv) {
  const char* source_dir = argc > 1 ? argv[1] : NULL;
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

  if (source_dir != NULL) Catalog(dir, source_dir);

  char command[700];
  snprintf(command, sizeof command, "rm -rf '%s'", dir);
  if (system(command) != 0) ++failures;
  if (failures == 0) printf("host C test passed\n");
  return failures == 0 ? 0 : 1;
}
