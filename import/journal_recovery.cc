#include "import/journal_recovery.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "catalog/catalog_format.h"
#include "external/trace.h"
#include "import/file_area_journal.h"
#include "import/journal_manifest.h"
#include "platform/append_file.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/leftovers.h"
#include "platform/paths.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFunction = "RecoverFileAreaJournals";

// The process number in a journal directory's name ("zarnJournal$$<pid>-<n>"), or -1.
long JournalOwner(const std::string& name) {
  if (name.compare(0, kJournalPrefix.size(), kJournalPrefix) != 0) return -1;
  const std::string rest = name.substr(kJournalPrefix.size());
  const size_t digits = rest.find_first_not_of("0123456789");
  if (digits == 0 || (digits != std::string::npos && rest[digits] != '-') || rest.size() > 20) return -1;
  return std::atol(rest.substr(0, digits).c_str());
}

// `relative` below the catalog directory, or "" when it names something a journal
// never holds (outside, the catalog's own data, a journal).
std::string Resolve(const std::string& root, const std::string& relative) {
  const fs::path p(relative);
  if (relative.empty() || p.is_absolute()) return std::string();
  for (const fs::path& segment : p) {
    if (segment.empty() || segment == "." || segment == "..") return std::string();
  }
  const std::string first = p.begin()->string();
  if (first == format::kCatalogDataDirectoryName || first == "Device" || first == format::kCatalogFileName ||
      first.compare(0, kJournalPrefix.size(), kJournalPrefix) == 0) {
    return std::string();
  }
  return JoinPath(root, relative);
}

struct Journal {
  std::vector<JournalEntry> entries;
  bool saved = false;
  bool undoing = false;
  bool saving_recorded = false;
  FileIdentity before_save;
  int kept_catalog = -1;  // -1 none, 0 there was no file, 1 the copy in the journal
};

void AddEntry(const std::string& root, const std::string& directory, const ManifestRecord& r, Journal* j) {
  using Kind = JournalEntry::Kind;
  const size_t path_field = r.kind == 'm' ? 1 : 0;
  if (r.fields.size() <= path_field) return;
  const std::string path = Resolve(root, r.fields[path_field]);
  if (path.empty()) return;
  JournalEntry e{Kind::kCreatedFile, path, std::string()};
  if (r.kind == 'm') {
    if (r.fields[0].find('/') != std::string::npos || r.fields[0].empty() || r.fields[0][0] == '.') return;
    e.kind = Kind::kMoved;
    e.aside = JoinPath(directory, r.fields[0]);
  } else if (r.kind == 'd') {
    e.kind = Kind::kCreatedDirectory;
  } else if (r.kind == 'r') {
    e.kind = Kind::kRemoveAfterSave;
  }
  j->entries.push_back(std::move(e));
}

Journal ReadJournal(const std::string& root, const std::string& directory, const std::string& manifest) {
  std::string text;
  ReadWholeFile(manifest, &text);
  Journal j;
  for (const ManifestRecord& r : ParseManifest(text)) {
    switch (r.kind) {
      case 'm':
      case 'f':
      case 'd':
      case 'r':
        AddEntry(root, directory, r, &j);
        break;
      case 'c':
        j.kept_catalog = !r.fields.empty() && r.fields[0] == "1" ? 1 : 0;
        break;
      case 'S':
        j.saved = true;
        break;
      case 'U':
        j.undoing = true;
        break;
      case 's':
        if (r.fields.size() != 4) break;
        j.saving_recorded = true;
        j.before_save = {
            std::strtoull(r.fields[0].c_str(), nullptr, 10), std::strtoull(r.fields[1].c_str(), nullptr, 10),
            std::strtoll(r.fields[2].c_str(), nullptr, 10), std::strtoll(r.fields[3].c_str(), nullptr, 10)};
        break;
      default:
        break;
    }
  }
  return j;
}

// Saved when the save was recorded, or when the catalog file is no longer the one
// recorded right before the save (killed between the save and its record). Under the
// lock nobody else saved since: a writer recovers the journals of the dead first.
bool WasSaved(const Journal& j, const std::string& catalog_file) {
  if (j.undoing) return false;
  return j.saved || (j.saving_recorded && IdentityOf(catalog_file) != j.before_save);
}

void PutBackCatalogFile(const Journal& j, const std::string& directory, const std::string& catalog_file) {
  std::error_code ec;
  if (j.kept_catalog == 0) fs::remove(catalog_file, ec);
  if (j.kept_catalog != 1) return;
  std::string content, error;
  if (ReadWholeFile(JoinPath(directory, kJournalCatalogCopy), &content) &&
      !WriteFileAtomically(catalog_file, content, &error)) {
    Trace(kTraceError, kFunction, "cannot put back the catalog file: %s", error);
  }
}

void Drop(const std::string& directory) {
  std::error_code ec;
  fs::remove(JoinPath(directory, kJournalManifest), ec);
  fs::remove_all(directory, ec);
}

}  // namespace

JournalRecoveryResult RecoverFileAreaJournals(const std::string& catalog_directory, const std::string& catalog_file) {
  JournalRecoveryResult result;
  if (catalog_directory.empty()) return result;
  const std::string root = NormalisePath(catalog_directory);
  std::error_code ec;
  std::vector<std::string> journals;
  for (const fs::directory_entry& e : fs::directory_iterator(root, ec)) {
    const long pid = JournalOwner(e.path().filename().string());
    if (pid > 0 && pid != CurrentProcessId() && !ProcessIsRunning(pid)) journals.push_back(e.path().string());
  }
  for (const std::string& directory : journals) {
    const std::string manifest = JoinPath(directory, kJournalManifest);
    AppendFile held;
    if (!fs::exists(manifest, ec)) {
      Drop(directory);
      ++result.dropped;
      continue;
    }
    if (!held.LockExisting(manifest)) continue;  // its writer lives on (another pid namespace)
    const Journal j = ReadJournal(root, directory, manifest);
    const bool saved = WasSaved(j, catalog_file);
    if (saved) {
      for (const JournalEntry& entry : j.entries) {
        if (entry.kind == JournalEntry::Kind::kRemoveAfterSave) fs::remove_all(entry.path, ec);
      }
      ++result.finished;
    } else {
      PutBackCatalogFile(j, directory, catalog_file);
      UndoJournalEntries(j.entries);
      ++result.undone;
    }
    // What was put back or removed reaches the disk before the journal goes.
    SyncFileSystem(root);
    Drop(directory);
    Trace(kTraceInfo, kFunction, "the journal %s of a process that is gone was %s", directory,
          saved ? "finished" : "undone");
  }
  return result;
}

}  // namespace zarn
