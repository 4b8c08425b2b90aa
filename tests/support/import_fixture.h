// Fixture of the tests that import through the exports: the working directory
// "work" inside the scratch directory (sources lie beside it), the catalog's
// temporary directory inside the scratch directory, hand-written component XML
// files, and snapshots of files and directories to compare before and after.
#ifndef ZARN_TESTS_SUPPORT_IMPORT_FIXTURE_H_
#define ZARN_TESTS_SUPPORT_IMPORT_FIXTURE_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "api/export_frame.h"
#include "import/import_driver.h"
#include "maintenance/catalog_check.h"
#include "maintenance/log_path_records.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "xml/document.h"
#include "xml/xpath.h"
#include "zarn/catalog_manager.h"

namespace zarn {

// Every file (path relative to `root` -> content) and directory (-> "<dir>") below root.
using TreeSnapshot = std::map<std::string, std::string>;

inline TreeSnapshot SnapshotTree(const std::string& root, const std::string& skip = {}) {
  TreeSnapshot tree;
  std::error_code ec;
  if (!std::filesystem::exists(root, ec)) return tree;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    const std::string path = it->path().string();
    if (!skip.empty() && IsPathInside(skip, path)) {
      if (it->is_directory()) it.disable_recursion_pending();
      continue;
    }
    const std::string relative = path.substr(root.size());
    tree[relative] = it->is_directory() ? "<dir>" : testing::ReadFile(path);
  }
  return tree;
}

// A rename hook that fails the save as a full disk would: no temporary file stays.
inline bool RefuseRename(const std::string& temp_path) {
  std::filesystem::remove(temp_path);
  return false;
}

class ImportDriverTest : public CatalogTest {
 protected:
  void SetUp() override {
    workdir_ = work_.Join("work");
    ZARN_ResetCatalog();
    const char* temp = std::getenv("TEMP");
    saved_temp_ = temp != nullptr ? std::make_unique<std::string>(temp) : nullptr;
    setenv("TEMP", work_.Join("tmp").c_str(), 1);
    unsetenv("ZARN_SETTINGS");
    std::filesystem::create_directories(workdir_);
    LoadCatalog("");
  }
  void TearDown() override {
    FreeLogPathEntries(log_paths_);
    ZARN_ResetCatalog();
    SetBeforeRenameHookForTesting(nullptr);
    SetCompileAfterImportHookForTesting(nullptr);
    unsetenv("ZARN_SETTINGS");
    if (saved_temp_) {
      setenv("TEMP", saved_temp_->c_str(), 1);
    } else {
      unsetenv("TEMP");
    }
  }

  // The shipped data a converting import needs (stylesheet, maker table, device
  // configuration), laid out in the catalog as `zarn-catalog init` does.
  void LayOutCatalogData() {
    const std::string root = testing::SourceDir();
    std::filesystem::create_directories(CatalogDir() + "/catalogData");
    std::filesystem::create_directories(CatalogDir() + "/Device");
    for (const char* file : {"zarnxml_2_componentxml.xslt", "devices.cfg", "manufacturer_names.cfg"}) {
      std::filesystem::copy_file(root + "/data/catalogData/" + file, CatalogDir() + "/catalogData/" + file,
                                 std::filesystem::copy_options::overwrite_existing);
    }
    std::filesystem::copy_file(root + "/examples/devices/zarn_catalog/Device/HV__DEV01.cfg",
                               CatalogDir() + "/Device/HV__DEV01.cfg",
                               std::filesystem::copy_options::overwrite_existing);
    ZARN_ResetCatalog();  // the next export reads the tables
  }
  std::string CatalogDir() { return Catalog().catalogDirectory(); }
  std::string CatalogFile() { return testing::ReadFile(Catalog().catalogFile()); }
  std::string TempDir() { return Catalog().temporaryDirectory(); }

  // Writes a component XML `file` (below the scratch directory) whose sources lie
  // in `in_path` ("" for none) and whose objects are `body`.
  std::string Component(const std::string& file, const std::string& body, const std::string& in_path) {
    const std::string path = file[0] == '/' ? file : work_.Join(file);
    const std::string attribute = in_path.empty() ? "" : " inPath=\"" + in_path + "\"";
    testing::WriteFile(path,
                       "<COMP_COMPONENTXML" + attribute + "><version>1</version>" + body + "</COMP_COMPONENTXML>");
    return path;
  }
  // A source directory with the component's device description (dev.ddl), another
  // one, a stale compiled copy of it and a manual.
  std::string Sources(const std::string& name) {
    const std::string dir = work_.Join(name);
    testing::WriteFile(dir + "/dev.ddl", "not a device description");
    testing::WriteFile(dir + "/a.ddl", "another one");
    testing::WriteFile(dir + "/a.ddl01", "stale");
    testing::WriteFile(dir + "/manual.txt", "manual");
    return dir + "/";
  }
  // The objects of a HART component `id` of maker Zentrifex in the folder chain
  // `folder`: level folders for section, protocol, classification and maker, one
  // folder object per folder, and the component with identification and `extra`.
  // Component XML files are named dev.ddl_comp.xml so that the reader identifies
  // the source dev.ddl (which gives the maker its place).
  static std::string Device(const std::string& id, const std::string& extra = {},
                            const std::string& folder = "Flow/Coriolis", const std::string& revision = "0x0003") {
    const std::string placement =
        "<PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/><MANUFACTURER name=\"Zentrifex\"/>";
    std::string body =
        "<COMPONENT_FOLDER id=\"SECTION.DEVICE\"><section name=\"DEVICE\"/></COMPONENT_FOLDER>"
        "<COMPONENT_FOLDER id=\"PROTOCOL.HART\"><PROTOCOL name=\"HART\"/></COMPONENT_FOLDER>"
        "<COMPONENT_FOLDER id=\"CLASSIFICATION.HART.SFC\"><PROTOCOL name=\"HART\"/>"
        "<CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/></COMPONENT_FOLDER>"
        "<COMPONENT_FOLDER id=\"MANUFACTURER.HART.SFC.Zentrifex\">" +
        placement + "</COMPONENT_FOLDER>";
    std::string path;
    for (const std::string& segment : Split(folder, "/")) {
      path += (path.empty() ? "" : "/") + segment;
      body += "<COMPONENT_FOLDER id=\"" + segment + "\">" + placement + "<COMPONENT_PATH name=\"" + path +
              "\"/></COMPONENT_FOLDER>";
    }
    return body + "<COMPONENT id=\"" + id + "\"><PROTOCOL name=\"HART\"/>" +
           "<CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/><COMPONENT_PATH name=\"" + path + "/" + id +
           "\"/><MANUFACTURER name=\"Zentrifex\">0x00f1</MANUFACTURER><DEVICE_TYPE>0xf1a5</DEVICE_TYPE>" +
           "<DEVICE_REVISION>" + revision + "</DEVICE_REVISION><LABEL><string>" + id + " label</string></LABEL>" +
           extra + "</COMPONENT>";
  }
  // Imports through the export; the log paths stay in log_paths_.
  uint32_t Import(const std::string& path, int32_t mode = 0) {
    FreeLogPathEntries(log_paths_);
    log_paths_ = nullptr;
    return ZARN_ImportComponent(ToUtf16(path).c_str(), &log_paths_, mode);
  }
  // A good first import, so that the catalog file exists.
  void ImportFirst() {
    ASSERT_EQ(Import(Component("first/dev.ddl_comp.xml", Device("First", "", "Other", "0x0001"), Sources("first_src"))),
              0u);
  }

  // What `zarn-catalog import DIR` does: list `dir` (a directory or one file),
  // convert and import each listed file, here in the order of their names. Returns
  // the number of files imported.
  size_t ImportConverted(const std::string& dir) {
    std::vector<std::string> files;
    ComponentXMLInfo* listed = nullptr;
    if (ZARN_GetComponents(ToUtf16(dir).c_str(), &listed, nullptr) == 0) {
      for (const ComponentXMLInfo* r = listed; r != nullptr; r = r->next) files.push_back(ToUtf8(r->componentXmlPath));
    }
    ZARN_FreeComponentXMLInfo(listed);
    std::sort(files.begin(), files.end());
    size_t imported = 0;
    for (const std::string& file : files) {
      ComponentXMLInfo* converted = nullptr;
      ZARN_GetComponents(ToUtf16(file).c_str(), &converted, nullptr);
      if (converted != nullptr && Import(ToUtf8(converted->componentXmlPath)) == 0) ++imported;
      ZARN_FreeComponentXMLInfo(converted);
    }
    return imported;
  }

  // Number of nodes the XPath selects in the saved catalog file (hides the count
  // over the catalog in memory).
  size_t Count(const std::string& xpath) {
    std::string error;
    std::unique_ptr<xml::Document> doc = xml::Document::LoadFile(Catalog().catalogFile(), &error);
    if (!doc) return 0;
    std::vector<Node> nodes;
    xml::SelectNodes(doc->AsNode(), xpath, &nodes, &error);
    return nodes.size();
  }
  // A failure for every violation the catalog checker finds; `when` names the moment.
  void ExpectSound(const std::string& when = {}) {
    for (const CatalogViolation& v : CheckCatalog(Catalog()).violations) {
      ADD_FAILURE() << when << " promise " << static_cast<int>(v.invariant) << ": " << v.path << " " << v.subject
                    << ": " << v.message;
    }
  }
  // The whole scratch directory except the catalog directory.
  TreeSnapshot Outside() { return SnapshotTree(work_.path(), CatalogDir()); }
  TreeSnapshot FileArea() { return SnapshotTree(CatalogDir()); }
  // The directories of the catalog directory (files copied into directories that
  // existed before are not restored by a rollback).
  std::vector<std::string> Directories() {
    std::vector<std::string> out;
    for (const auto& [path, content] : FileArea()) {
      if (content == "<dir>") out.push_back(path);
    }
    return out;
  }

  LogPathEntry* log_paths_ = nullptr;
  std::unique_ptr<std::string> saved_temp_;
};

}  // namespace zarn

#endif  // ZARN_TESTS_SUPPORT_IMPORT_FIXTURE_H_
