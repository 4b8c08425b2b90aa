/* A host that uses libxml2 and libxslt itself: its error handlers stay its own
 * across every kind of export call (parsing a broken component XML, converting a
 * source through the stylesheet, querying and saving), and none of the library's
 * own XML errors reaches them. Usage: libxml_host_test SOURCE_DIR. Exit 0 on success. */
#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxslt/xsltutils.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "tests/host/host_checks.h"
#include "zarn/catalog_manager.h"

static int generic_calls = 0;
static int structured_calls = 0;
static int xslt_calls = 0;
static int host_context;

static void HostGeneric(void* ctx, const char* msg, ...) {
  (void)ctx;
  (void)msg;
  ++generic_calls;
}
#if LIBXML_VERSION >= 21200
static void HostStructured(void* ctx, const xmlError* e) {
#else
static void HostStructured(void* ctx, xmlErrorPtr e) {
#endif
  (void)ctx;
  (void)e;
  ++structured_calls;
}
static void HostXslt(void* ctx, const char* msg, ...) {
  (void)ctx;
  (void)msg;
  ++xslt_calls;
}

static void CheckHandlersAreTheHost(const char* after) {
  if (xmlGenericError != HostGeneric || xmlGenericErrorContext != &host_context ||
      xmlStructuredError != HostStructured || xmlStructuredErrorContext != &host_context ||
      xsltGenericError != HostXslt || xsltGenericErrorContext != &host_context) {
    fprintf(stderr, "the host's handlers were changed by %s\n", after);
    ++failures;
  }
  if (generic_calls + structured_calls + xslt_calls != 0) {
    fprintf(stderr, "the library's errors reached the host's handlers in %s\n", after);
    ++failures;
  }
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  char work[] = "/tmp/zarn_libxml_host_XXXXXX";
  if (mkdtemp(work) == NULL) return 2;
  char broken[1200], source[1200];
  snprintf(broken, sizeof broken, "%s/broken.xml", work);
  snprintf(source, sizeof source, "%s/examples/devices/hart/quellmark/radar_level_lr80.ddl", argv[1]);
  FILE* f = fopen(broken, "w");
  if (f == NULL) return 2;
  fputs("<ZARN_CATALOG><COMPONENT id=\"x\"></ZARN_CATALOG", f);
  fclose(f);

  xmlSetGenericErrorFunc(&host_context, HostGeneric);
  xmlSetStructuredErrorFunc(&host_context, HostStructured);
  xsltSetGenericErrorFunc(&host_context, HostXslt);

  CHECK(ZARN_InitCatalogManager(Wide(work)) == ZARN_OK);
  CheckHandlersAreTheHost("ZARN_InitCatalogManager");
  LogPathEntry* landed = NULL;
  CHECK(ZARN_ImportComponent(Wide(broken), &landed, 0) != ZARN_OK);
  ZARN_FreeLogPaths(landed);
  CheckHandlersAreTheHost("a failing ZARN_ImportComponent");
  ComponentXMLInfo* info = NULL;
  CHECK(ZARN_GetComponents(Wide(source), &info, NULL) == ZARN_OK);
  CheckHandlersAreTheHost("ZARN_GetComponents");
  landed = NULL;
  CHECK(info != NULL && ZARN_ImportComponent(info->componentXmlPath, &landed, 0) == ZARN_OK);
  ZARN_FreeLogPaths(landed);
  ZARN_FreeComponentXMLInfo(info);
  CheckHandlersAreTheHost("ZARN_ImportComponent");
  LogPathEntry* all = NULL;
  CHECK(ZARN_GetLogPaths(u"/", &all, 1, 0) == ZARN_OK);
  ZARN_FreeLogPaths(all);
  CHECK(ZARN_GetLogPaths(u"/no[such", &all, 1, 0) != ZARN_OK); /* a broken path expression */
  CheckHandlersAreTheHost("ZARN_GetLogPaths");
  ZARN_ResetCatalog();

  /* The host's own parsing still reports to the host. */
  xmlDocPtr doc = xmlReadMemory("<a>", 3, NULL, NULL, 0);
  CHECK(doc == NULL);
  CHECK(generic_calls + structured_calls > 0);

  char command[1300];
  snprintf(command, sizeof command, "rm -rf '%s'", work);
  if (system(command) != 0) ++failures;
  if (failures == 0) printf("libxml host test passed\n");
  return failures == 0 ? 0 : 1;
}
