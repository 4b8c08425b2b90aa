/* A quick-start host: lays out a catalog in an empty working directory, converts
 * one device description, imports the component XML it gives, lists the catalog's components and asks one
 * of them for its short name. Every record and string it receives, it frees.
 *   quickstart WORKDIR SOURCE
 * Exit status 0 when everything worked, 1 otherwise. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zarn/catalog_manager.h"
#include "zarn/oleauto.h"
#include "zarn/result_messages.h"
#include "zarn/version.h"

/* The exports take UTF-16; this host's arguments are ASCII paths. */
static char16_t* Wide(const char* s) {
  size_t n = strlen(s);
  char16_t* w = malloc((n + 1) * sizeof *w);
  for (size_t i = 0; w != NULL && i <= n; ++i) w[i] = (unsigned char)s[i];
  return w;
}

static void PrintWide(const char* prefix, const char16_t* s) {
  fputs(prefix, stdout);
  for (; s != NULL && *s != 0; ++s) putchar(*s < 0x80 ? (char)*s : '?');
  putchar('\n');
}

static int Check(const char* what, uint32_t rc) {
  if (rc == ZARN_OK) return 1;
  const char* text = ZARN_ResultMessage(rc);
  fprintf(stderr, "%s failed: 0x%08x (%s)\n", what, rc, text != NULL ? text : "unknown code");
  return 0;
}

/* Converts the source, prints what it describes and imports the component XML
 * the conversion wrote, printing where its components landed. */
static int ConvertAndImport(const char16_t* source) {
  ComponentXMLInfo* info = NULL;
  if (!Check("ZARN_GetComponents", ZARN_GetComponents(source, &info, NULL))) return 0;
  for (const ComponentXMLInfo* c = info; c != NULL; c = c->next) PrintWide("converted: ", c->label);
  LogPathEntry* landed = NULL;
  int ok = info != NULL && Check("ZARN_ImportComponent", ZARN_ImportComponent(info->componentXmlPath, &landed, 0));
  for (const LogPathEntry* e = landed; e != NULL; e = e->next) PrintWide("imported: ", e->path);
  ZARN_FreeLogPaths(landed);
  ZARN_FreeComponentXMLInfo(info);
  return ok;
}

/* Lists every component of the catalog with its short name. */
static int List(void) {
  LogPathEntry* all = NULL;
  const char16_t root[] = u"/";
  if (!Check("ZARN_GetLogPaths", ZARN_GetLogPaths(root, &all, 1, 0))) return 0;
  for (const LogPathEntry* e = all; e != NULL; e = e->next) {
    PrintWide("component: ", e->path);
    VARIANT cot;
    VariantInit(&cot);
    if (ZARN_GetCotNameFromComponentPath(e->path, &cot) == ZARN_OK && cot.vt == VT_BSTR) {
      PrintWide("  short name: ", cot.bstrVal);
    }
    VariantClear(&cot);
  }
  ZARN_FreeLogPaths(all);
  return 1;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: quickstart WORKDIR SOURCE\n");
    return 1;
  }
  printf("catalog manager %s\n", ZARN_VERSION_STRING);
  char16_t* workdir = Wide(argv[1]);
  char16_t* source = Wide(argv[2]);
  int ok = workdir != NULL && source != NULL && Check("ZARN_InitCatalogManager", ZARN_InitCatalogManager(workdir)) &&
           ConvertAndImport(source) && List();
  ZARN_ResetCatalog();
  free(workdir);
  free(source);
  return ok ? 0 : 1;
}
