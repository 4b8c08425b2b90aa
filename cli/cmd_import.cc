// zarn-catalog import PATH: converts PATH with ZARN_GetComponents and imports every
// component XML it yields with ZARN_ImportComponent, as a host does. A directory is
// listed by the library and each listed source is converted and imported on its
// own; a directory of global sources (reported as "<ZarnGlobSpecial>") is walked
// source by source too, unless --bundle asks for the library's one-batch import.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/import_progress.h"
#include "cli/newer_revision.h"
#include "cli/source_messages.h"
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
  Importer(bool json, bool bundle, const std::string& root)
      : json_(json), bundle_(bundle), progress_(ImportProgress::ForStandardStreams(json, root)) {}

  // Converts `path` and imports what it yields; a listing is followed one level.
  void Source(const std::string& path, int depth) {
    ImportStep step(progress_, path);
    TakeSourceMessages();
    ComponentXMLInfo* list = nullptr;
    const std::u16string wide = W(path);
    const uint32_t rc = ZARN_GetComponents(wide.c_str(), &list, nullptr);
    std::vector<const ComponentXMLInfo*> records;
    for (const ComponentXMLInfo* r = list; r != nullptr; r = r->next) records.insert(records.begin(), r);
    std::vector<std::string> listed;
    std::vector<std::string> component_xml;
    std::vector<std::string> messages;
    for (const ComponentXMLInfo* r : records) {
      const std::string file = r->componentXmlPath != nullptr ? U(r->componentXmlPath) : std::string();
      const bool is_listing = r->id == nullptr && r->hierarchy == nullptr;
      std::vector<std::string>& into = is_listing ? listed : component_xml;
      if (!file.empty() && std::find(into.begin(), into.end(), file) == into.end()) into.push_back(file);
      // A listing's value is no message, but a failure names the file with its reason.
      const bool has_message = r->message != nullptr && (!is_listing || rc != 0);
      const std::string message = has_message ? U(r->message) : std::string();
      if (!message.empty() && std::find(messages.begin(), messages.end(), message) == messages.end()) {
        messages.push_back(message);
      }
    }
    ZARN_FreeComponentXMLInfo(list);
    // A directory of the walk that holds nothing to convert is no failure.
    if (rc == ZARN_E_NO_RECORDS && depth > 0 && std::filesystem::is_directory(path)) return step.NotASource();
    if (rc != 0) {
      for (std::string& m : TakeSourceMessages()) messages.push_back(std::move(m));
      Record(path, rc, messages);
      return;
    }
    for (const std::string& m : messages) Warn(path, m);
    // The compiler's warnings about a source that compiled (an unknown attribute).
    for (const std::string& m : TakeSourceMessages()) Warn(path, m);
    for (const std::string& file : component_xml) Import(path, file);
    const auto walked = depth > 4 ? 0 : listed.size() - std::count(listed.begin(), listed.end(), path);
    step.Lists(static_cast<long>(walked), !component_xml.empty());
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
  int Finish() {
    ClearProgress();
    if (json_) {
      PrintJson();
    } else {
      std::printf("imported: %d, already present: %d, failed: %d", imported_, present_,
                  static_cast<int>(failures_.size()));
      if (replaced_ > 0) std::printf(", replaced by a newer revision: %d", replaced_);
      if (!warnings_.empty()) std::printf(", warnings: %d", static_cast<int>(warnings_.size()));
      std::printf(" (%s)\n", progress_.Summary().c_str());
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
    // The listed directory of global sources stands for the sources walked here.
    progress_.Expect(static_cast<int>(std::count_if(entries.begin(), entries.end(), IsGlobalWalked)));
    progress_.Drop();
    for (const auto& entry : entries) {
      if (IsGlobalWalked(entry)) Source(entry.string(), depth);
    }
  }
  static bool IsGlobalWalked(const std::filesystem::path& entry) {
    std::error_code ec;
    if (std::filesystem::is_directory(entry, ec)) return entry.filename() != "_global";
    return entry.extension() == ".ddl" || entry.extension() == ".mdd";
  }

  void Import(const std::string& source, const std::string& component_xml) {
    if (!imported_files_.insert(component_xml).second) return;
    Progress(source);
    TakeSourceMessages();
    LogPathEntry* paths = nullptr;
    const std::u16string wide = W(component_xml);
    uint32_t rc = ZARN_ImportComponent(wide.c_str(), &paths, 0);
    const char* done = "imported";
    if (MayBeNewerRevision(rc) && IsNewerRevision(wide)) {
      if (paths != nullptr) ZARN_FreeLogPaths(paths);
      paths = nullptr;
      rc = ReplaceWithNewer(wide, &paths);
      if (rc == ZARN_S_REPLACED) {
        rc = 0;
        done = "replaced (newer revision)";
        ++replaced_;
      }
    }
    if (rc == 0) ClearProgress();
    for (const LogPathEntry* e = paths; rc == 0 && e != nullptr; e = e->next) {
      if (e->path == nullptr) continue;
      components_.push_back(U(e->path));
      if (!json_) std::printf("%s %s\n", done, components_.back().c_str());
    }
    std::fflush(stdout);
    if (paths != nullptr) ZARN_FreeLogPaths(paths);
    Record(source, rc, TakeSourceMessages());
  }

  void Record(const std::string& source, uint32_t rc, const std::vector<std::string>& messages = {}) {
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
    failures_.push_back(Failure{source, rc, messages});
    if (!json_) {
      ClearProgress();
      std::fprintf(stderr, "failed: %s: %s\n", source.c_str(), DescribeResult(rc).c_str());
      for (const std::string& m : messages) std::fprintf(stderr, "  %s\n", m.c_str());
    }
  }

  // A conversion that worked with warnings (a missing picture, an unknown keyword).
  void Warn(const std::string& source, const std::string& message) {
    warnings_.emplace_back(source, message);
    if (!json_) {
      ClearProgress();
      std::fprintf(stderr, "warning: %s: %s\n", source.c_str(), message.c_str());
    }
  }

  void PrintJson() const {
    std::printf("{\"imported\": %d, \"alreadyPresent\": %d, \"failed\": %d,\n \"components\": %s,\n \"warnings\": [",
                imported_, present_, static_cast<int>(failures_.size()), JsonMessages(components_).c_str());
    for (size_t i = 0; i < warnings_.size(); ++i) {
      std::printf("%s{\"path\": %s, \"message\": %s}", i == 0 ? "" : ", ", JsonString(warnings_[i].first).c_str(),
                  JsonString(warnings_[i].second).c_str());
    }
    std::printf("],\n \"failures\": [");
    for (size_t i = 0; i < failures_.size(); ++i) {
      const Failure& f = failures_[i];
      std::printf("%s{\"path\": %s, \"code\": %u, \"result\": %s, \"messages\": %s}", i == 0 ? "" : ", ",
                  JsonString(f.path).c_str(), f.code, JsonString(DescribeResult(f.code)).c_str(),
                  JsonMessages(f.messages).c_str());
    }
    std::printf("]}\n");
  }

  void Progress(const std::string& source) { progress_.Working(source); }
  void ClearProgress() { progress_.Clear(); }

  bool json_;
  bool bundle_;
  ImportProgress progress_;
  int imported_ = 0;
  int present_ = 0;
  int replaced_ = 0;  // of imported_: older revisions replaced
  struct Failure {
    std::string path;
    uint32_t code;
    std::vector<std::string> messages;
  };
  std::vector<Failure> failures_;
  std::vector<std::pair<std::string, std::string>> warnings_;  // source, message
  std::vector<std::string> components_;                        // imported component paths
  std::set<std::string> imported_files_;
};

int ImportCommand(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "usage: zarn-catalog import PATH [--bundle] [--chunk N]\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const std::string chunk = in.Option("chunk");
  const uint32_t chunk_size = chunk.empty() ? 0 : static_cast<uint32_t>(std::strtoul(chunk.c_str(), nullptr, 10));
  if (const uint32_t rc = ZARN_BeginImportBatch(chunk_size); rc != 0) return ReportFailure("ZARN_BeginImportBatch", rc);
  Importer importer(in.json, in.HasOption("bundle"), in.args[0]);
  importer.Source(in.args[0], 0);
  const uint32_t committed = ZARN_CommitImportBatch();
  const int status = importer.Finish();
  return committed != 0 ? ReportFailure("ZARN_CommitImportBatch", committed) : status;
}

}  // namespace

ZARN_CLI_COMMAND(import, "import", "Import",
                 "convert and import a source, a component XML or a whole directory "
                 "(ZARN_GetComponents, ZARN_ImportComponent)",
                 "PATH [--bundle] [--chunk N]\n\n"
                 "  PATH      a .ddl/.mdd source, a device XML, a component XML, a file a converter\n"
                 "            plug-in accepts, or a directory (every source below it, one by one)\n"
                 "  --bundle  import a directory of global sources as one bundle of universal\n"
                 "            sources instead of source by source\n"
                 "  --chunk N save the catalog after every N imports (default 500) and at the end,\n"
                 "            instead of after each one (ZARN_BeginImportBatch, ZARN_CommitImportBatch)\n\n"
                 "Prints what was imported, the conversion warnings and the compiler's messages\n"
                 "of a source that failed, and a summary with the time taken; with --json one\n"
                 "object with the imported component paths, the warnings and the failures. The\n"
                 "progress goes to standard error: on a terminal one line rewritten in place\n"
                 "(sources done and known, rate, time left, the current source), else, without\n"
                 "--json, a line every 100 sources or 10 seconds. The exit status is\n"
                 "1 when a source"
                 " failed for another reason than being in the catalog already.",
                 ImportCommand, {"bundle"}, {"chunk"});

}  // namespace zarn::cli
