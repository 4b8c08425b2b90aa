/* A host that loads the catalog manager with dlopen, uses it and unloads it again:
 * after dlclose neither the catalog manager nor the trace library it brought along
 * may stay mapped (a host that reloads a newer build relies on that).
 * Usage: unload_test LIBRARY_PATH. Exit status 0 on success. */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int Mapped(const char* name) {
  FILE* maps = fopen("/proc/self/maps", "r");
  char line[4096];
  int found = 0;
  if (maps == NULL) return -1;
  while (fgets(line, sizeof line, maps) != NULL) {
    if (strstr(line, name) != NULL) found = 1;
  }
  fclose(maps);
  return found;
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  char directory[] = "/tmp/zarn_unload_XXXXXX";
  if (mkdtemp(directory) == NULL) return 2;
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == NULL) {
    fprintf(stderr, "dlopen: %s\n", dlerror());
    return 1;
  }
  typedef uint32_t (*InitFunction)(const uint16_t*);
  InitFunction init = (InitFunction)dlsym(library, "ZARN_InitCatalogManager");
  uint16_t wide[64];
  size_t i = 0;
  for (; directory[i] != '\0'; ++i) wide[i] = (uint16_t)directory[i];
  wide[i] = 0;
  if (init == NULL || init(wide) != 0) {
    fprintf(stderr, "ZARN_InitCatalogManager failed\n");
    return 1;
  }
  dlclose(library);
  const int manager = Mapped("zarn_catalog_manager_x");
  const int trace = Mapped("zarn_trace_x");
  char command[128];
  snprintf(command, sizeof command, "rm -rf %s", directory);
  if (system(command) != 0) return 2;
  if (manager != 0 || trace != 0) {
    fprintf(stderr, "still mapped after dlclose: catalog manager %d, trace library %d\n", manager, trace);
    return 1;
  }
  return 0;
}
