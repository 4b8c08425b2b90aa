// Fuzzes the catalog document as a catalog loads it: the input becomes the catalog
// file of a scratch working directory of this process, the catalog loads it again
// with its identification index (as after a save by another process), and a few
// read-only queries run over it: log paths of the whole catalog, a short name and
// its way back, the attributes of the first component and its id lookup.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "catalog/catalog_contents.h"
#include "maintenance/log_path_records.h"
#include "platform/paths.h"
#include "query/component_attributes.h"
#include "query/log_paths.h"

namespace {

// One catalog for the whole run, started on an empty working directory.
zarn::CCatalog_Contents& Catalog() {
  static zarn::CCatalog_Contents* catalog = [] {
    const std::string dir = zarn::JoinPath(zarn::TempDirectory(), "zarn_fuzz_catalog_" + std::to_string(getpid()));
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir, ec);
    auto* c = new zarn::CCatalog_Contents();
    if (c->initialize(dir) != 0) abort();
    return c;
  }();
  return *catalog;
}

// Writes the catalog file through a new file, so that the catalog sees another file.
void WriteCatalogFile(const std::string& path, const uint8_t* data, size_t size) {
  const std::string scratch = path + ".fuzz";
  {
    std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::filesystem::rename(scratch, path);
}

void Query(zarn::CCatalog_Contents& catalog) {
  LogPathEntry* head = nullptr;
  zarn::GetLogPaths(catalog, "/", true, zarn::kLogPathsBelow, &head);
  zarn::FreeLogPathEntries(head);
  head = nullptr;
  zarn::GetLogPaths(catalog, "/", false, zarn::kLogPathsChildren, &head);
  zarn::FreeLogPathEntries(head);
  zarn::NodeList components;
  if (!catalog.getSubElementsByXPath("//COMPONENT", &components) || components.empty()) return;
  const zarn::Node first = components.front();
  const std::string path = catalog.ComponentPathOf(first);
  if (path.empty()) return;
  const std::string cot = zarn::CotNameOf(catalog, path);
  if (!cot.empty()) zarn::ComponentPathFromCotName(catalog, cot);
  CompAttrInfo* list = nullptr;
  if (zarn::GetComponentAttributes(catalog, path, &list) == 0) zarn::CompAttrListBuilder::FreeCompAttrInfoList(list);
  zarn::GetComponentAttribute(catalog, path, "DEVICE_TYPE", 0);
  if (const auto id = first.Attribute("id")) catalog.ElementsWithId(*id);
  catalog.FindByComponentPath(path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zarn::CCatalog_Contents& catalog = Catalog();
  WriteCatalogFile(catalog.catalogFile(), data, size);
  if (catalog.RefreshIfChangedOnDisk() != 0 || !catalog.root()) return 0;
  Query(catalog);
  return 0;
}
