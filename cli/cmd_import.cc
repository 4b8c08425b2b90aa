// zarn-catalog import PATH: converts PATH with ZARN_GetComponents and imports every
// component XML it yields with ZARN_ImportComponent, as a host does. A directory is
// listed by the library and each listed source is converted and imported on its
// own; a directory of global sources (reported as "<ZarnGlobSpecial>") is walked
// source by source too, unless --bundle asks for the library's one-batch import.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

constexpr std::string_view kGlobMarker = "<ZarnGlobSpecial>";

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool IsAlreadyPresent(uint32_t code) {
  return code == ZARN_E_ALREADY_PRESENT || (code >= ZARN_E_SAME_DEVICE_REVISION && code <= ZARN_E_OTHER_DD_REVISION);
}

class Importer {
 public:
  Importer(bool json, bool bundle) : json_(json), bundle_(bundle), progress_(!json && isatty(STDERR_FILENO) != 0) {}

  // Converts `path` and imports what it yields; a listing is followed one level.
  void Source(const std::string& path, int depth) {
    Progress(path);
    ComponentXMLInfo* list = nullptr;
    const std::u16string wide = W(path);
    const uint32_t rc = ZARN_GetComponents(wide.c_str(), &list, nullptr);
    std::vector<const ComponentXMLInfo*> records;
    for (const ComponentXMLInfo* r = list; r != nullptr; r = r->next) records.insert(records.begin(), r);
    std::vector<std::string> listed;
    std::vector<std::string> component_xml;
    for (const ComponentXMLInfo* r : records) {
      const std::string file = r->componentXmlPath != nullptr ? U(r->componentXmlPath) : std::string();
      const bool is_listing = r->id == nullptr && r->hierarchy == nullptr;
      std::vector<std::string>& into = is_listing ? listed : component_xml;
      if (!file.empty() && std::find(into.begin(), into.end(), file) == into.end()) into.push_back(file);
    }
    ZARN_FreeComponentXMLInfo(list);
    // A directory of the walk that holds nothing to convert is no failure.
    if (rc == ZARN_E_NO_RECORDS && depth > 0 && std::filesystem::is_directory(path)) return;
    if (rc != 0) {
      Record(path, rc);
      return;
    }
    for (const std::string& file : component_xml) Import(path, file);
    for (const std::string& file : listed) {
      if (file == path || depth > 4) continue;
      if (EndsWith(file, kGlobMarker) && !bundle_) {
        GlobalSources(file.substr(0, file.size() - kGlobMarker.size()), depth + 1);
      } else {
        Source(file, depth + 1);
      }
    }
  }

  // Prints the summary; returns the exit status.
  int Finish() const {
    if (progress_) std::fprintf(stderr, "\r\033[K");
    if (json_) {
      std::printf("{\"imported\": %d, \"alreadyPresent\": %d, \"failed\": %d, \"failures\": [", imported_, present_,
                  static_cast<int>(failures_.size()));
      for (size_t i = 0; i < failures_.size(); ++i) {
        std::printf("%s{\"path\": %s, \"result\": %s}", i == 0 ? "" : ", ", JsonString(failures_[i].first).c_str(),
                    JsonString(DescribeResult(failures_[i].second)).c_str());
      }
      std::printf("]}\n");
    } else {
      std::printf("imported: %d, already present: %d, failed: %d\n", imported_, present_,
                  static_cast<int>(failures_.size()));
    }
    std::fflush(stdout);
    return failures_.empty() ? 0 : 1;
  }

 private:
  // A directory of global sources, one source at a time: its device descriptions
  // and module descriptions, and its subdirectories except _global.
  void GlobalSources(const std::string& directory, int depth) {
    std::error_code ec;
    std::vector<std::filesystem::path> entries;
    for (const auto& e : std::filesystem::directory_iterator(directory, ec)) entries.push_back(e.path());
    std::sort(entries.begin(), entries.end());
    for (const auto& entry : entries) {
      const std::string ext = entry.extension().string();
      if (std::filesystem::is_directory(entry, ec)) {
        if (entry.filename() != "_global") Source(entry.string(), depth);
      } else if (ext == ".ddl" || ext == ".mdd") {
        Source(entry.string(), depth);
      }
    }
  }

  void Import(const std::string& source, const std::string& component_xml) {
    if (!imported_files_.insert(component_xml).second) return;
    Progress(source);
    LogPathEntry* paths = nullptr;
    const std::u16string wide = W(component_xml);
    const uint32_t rc = ZARN_ImportComponent(wide.c_str(), &paths, 0);
    if (!json_ && rc == 0) {
      ClearProgress();
      for (const LogPathEntry* e = paths; e != nullptr; e = e->next) {
        if (e->path != nullptr) std::printf("imported %s\n", U(e->path).c_str());
      }
      std::fflush(stdout);
    }
    if (paths != nullptr) ZARN_FreeLogPaths(paths);
    Record(source, rc);
  }

  void Record(const std::string& source, uint32_t rc) {
    if (rc == 0) {
      ++imported_;
      return;
    }
    if (IsAlreadyPresent(rc)) {
      ++present_;
      if (!json_) {
        ClearProgress();
        std::printf("already present: %s\n", source.c_str());
        std::fflush(stdout);
      }
      return;
    }
    failures_.emplace_back(source, rc);
    if (!json_) {
      ClearProgress();
      std::fprintf(stderr, "failed: %s: %s\n", source.c_str(), DescribeResult(rc).c_str());
    }
  }

  void Progress(const std::string& source) {
    ++steps_;
    if (!progress_) return;
    std::fprintf(stderr, "\r\033[K[%d] %s", steps_, std::filesystem::path(source).filename().string().c_str());
    std::fflush(stderr);
  }
  void ClearProgress() const {
    if (progress_) std::fprintf(stderr, "\r\033[K");
  }

  bool json_;
  bool bundle_;
  bool progress_;
  int steps_ = 0;
  int imported_ = 0;
  int present_ = 0;
  std::vector<std::pair<std::string, uint32_t>> failures_;
  std::set<std::string> imported_files_;
};

int ImportCommand(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "usage: zarn-catalog import PATH [--bundle]\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  Importer importer(in.json, in.HasOption("bundle"));
  importer.Source(in.args[0], 0);
  return importer.Finish();
}

}  // namespace

ZARN_CLI_COMMAND(import, "import", "Import",
                 "convert and import a source, a component XML or a whole directory "
                 "(ZARN_GetComponents, ZARN_ImportComponent)",
                 "PATH [--bundle]\n\n"
                 "  PATH      a .ddl/.mdd source, a device XML, a component XML, a file a converter\n"
                 "            plug-in accepts, or a directory (every source below it, one by one)\n"
                 "  --bundle  import a directory of global sources as one bundle of universal\n"
                 "            sources instead of source by source\n\n"
                 "Prints what was imported and a summary; the exit status is 1 when a source\n"
                 "failed for another reason than being in the catalog already.",
                 ImportCommand, {"bundle"});

}  // namespace zarn::cli
