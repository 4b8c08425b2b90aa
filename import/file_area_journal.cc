#include "import/file_area_journal.h"

#include <atomic>
#include <filesystem>

#include "import/journal_manifest.h"
#include "platform/append_file.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;

FileAreaJournal* g_active = nullptr;

// The active journal is also the guard that CFileOperation asks.
void SetActive(FileAreaJournal* journal) {
  g_active = journal;
  SetActiveFileWriteGuard(journal);
}

std::atomic<unsigned> g_journal_number{0};
JournalRecordHook g_record_hook = nullptr;

char KindLetter(JournalEntry::Kind kind) {
  switch (kind) {
    case JournalEntry::Kind::kMoved:
      return 'm';
    case JournalEntry::Kind::kCreatedFile:
      return 'f';
    case JournalEntry::Kind::kCreatedDirectory:
      return 'd';
    case JournalEntry::Kind::kRemoveAfterSave:
      return 'r';
  }
  return '?';
}

}  // namespace

void UndoJournalEntries(const std::vector<JournalEntry>& entries) {
  std::error_code ec;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    switch (it->kind) {
      case JournalEntry::Kind::kCreatedFile:
        fs::remove(it->path, ec);
        break;
      case JournalEntry::Kind::kCreatedDirectory:
        fs::remove_all(it->path, ec);
        break;
      case JournalEntry::Kind::kMoved:
        if (!fs::exists(fs::symlink_status(it->aside, ec))) break;
        fs::remove_all(it->path, ec);
        fs::create_directories(fs::path(it->path).parent_path(), ec);
        fs::rename(it->aside, it->path, ec);
        break;
      case JournalEntry::Kind::kRemoveAfterSave:
        break;
    }
  }
}

FileAreaJournal::FileAreaJournal(std::string catalog_directory)
    : catalog_directory_(NormalisePath(catalog_directory)) {}

FileAreaJournal::~FileAreaJournal() {
  Deactivate();
  Commit();
}

FileAreaJournal* FileAreaJournal::Active() { return g_active; }

void FileAreaJournal::Activate() {
  if (active_) return;
  previous_ = g_active;
  SetActive(this);
  active_ = true;
}

void FileAreaJournal::Deactivate() {
  if (!active_) return;
  SetActive(previous_);
  active_ = false;
}

bool FileAreaJournal::Inside(const std::string& path) const {
  return !catalog_directory_.empty() && IsPathInside(catalog_directory_, NormalisePath(path)) &&
         NormalisePath(path) != catalog_directory_;
}

// The journal directory and its manifest, made on the first record.
bool FileAreaJournal::Open() {
  if (manifest_ && manifest_->open()) return true;
  const std::string name = std::string(kJournalPrefix) + std::to_string(CurrentProcessId()) + "-" +
                           std::to_string(g_journal_number.fetch_add(1));
  journal_directory_ = JoinPath(catalog_directory_, name);
  std::error_code ec;
  fs::create_directories(journal_directory_, ec);
  manifest_ = std::make_unique<AppendFile>();
  if (!ec && manifest_->Create(JoinPath(journal_directory_, kJournalManifest))) return true;
  manifest_.reset();
  fs::remove_all(journal_directory_, ec);
  journal_directory_.clear();
  return false;
}

void SetJournalRecordHookForTesting(JournalRecordHook hook) { g_record_hook = hook; }

bool FileAreaJournal::Record(std::string_view line, bool durable) {
  if (!Open()) return false;
  if (g_record_hook != nullptr) g_record_hook(line[0], false);
  const bool written = manifest_->Append(line) && (!durable || Sync());
  if (g_record_hook != nullptr) g_record_hook(line[0], true);
  return written;
}

// The manifest's records on the disk; the first time also the entries of the
// journal directory and of the manifest in it.
bool FileAreaJournal::Sync() {
  if (!directories_synced_) {
    if (!SyncDirectory(journal_directory_) || !SyncDirectory(catalog_directory_)) return false;
    directories_synced_ = true;
  }
  return manifest_->Sync();
}

bool FileAreaJournal::InsideCreatedDirectory(const std::string& path) const {
  for (const std::string& directory : created_directories_) {
    if (IsPathInside(directory, path) && directory != path) return true;
  }
  return false;
}

// A moved entry, a created directory and a file created in a directory that was
// there reach the disk before the step is taken: after a power loss the recovery
// must know them. A file inside a created directory goes with the directory, and a
// removal after the save is on the disk with the record before the save.
bool FileAreaJournal::RecordEntry(const JournalEntry& entry) {
  const std::string relative = fs::path(entry.path).lexically_relative(catalog_directory_).string();
  std::vector<std::string> fields;
  if (entry.kind == JournalEntry::Kind::kMoved) fields.push_back(fs::path(entry.aside).filename().string());
  fields.push_back(relative);
  const bool durable = entry.kind == JournalEntry::Kind::kMoved ||
                       entry.kind == JournalEntry::Kind::kCreatedDirectory ||
                       (entry.kind == JournalEntry::Kind::kCreatedFile && !InsideCreatedDirectory(entry.path));
  return Record(ManifestLine(KindLetter(entry.kind), fields), durable);
}

void FileAreaJournal::Note(JournalEntry::Kind kind, const std::string& path) {
  Keep({kind, NormalisePath(path), std::string()});
}

void FileAreaJournal::Keep(const JournalEntry& entry) {
  if (entry.kind == JournalEntry::Kind::kCreatedDirectory) created_directories_.push_back(entry.path);
  entries_.push_back(entry);
}

bool FileAreaJournal::MoveAside(const std::string& path) {
  if (!Open()) return false;
  const JournalEntry entry{JournalEntry::Kind::kMoved, NormalisePath(path),
                           JoinPath(journal_directory_, std::to_string(moved_++))};
  if (!RecordEntry(entry)) return false;
  std::error_code ec;
  fs::rename(path, entry.aside, ec);
  if (ec) return false;
  entries_.push_back(entry);
  return true;
}

bool FileAreaJournal::BeforeWrite(const std::string& path) {
  if (!Inside(path) || !seen_.insert(NormalisePath(path)).second) return true;
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path, ec))) {
    if (!RecordEntry({JournalEntry::Kind::kCreatedFile, NormalisePath(path), std::string()})) {
      seen_.erase(NormalisePath(path));
      return false;
    }
    Note(JournalEntry::Kind::kCreatedFile, path);
    created_.insert(NormalisePath(path));
    return true;
  }
  return MoveAside(path);
}

bool FileAreaJournal::Remove(const std::string& path, bool* handled) {
  *handled = Inside(path) && created_.count(NormalisePath(path)) == 0;
  if (!*handled) return false;
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path, ec))) return true;
  seen_.insert(NormalisePath(path));
  return MoveAside(path);
}

bool FileAreaJournal::NoteCreatedDirectory(const std::string& path) {
  if (!Inside(path)) return true;
  if (!RecordEntry({JournalEntry::Kind::kCreatedDirectory, NormalisePath(path), std::string()})) return false;
  Note(JournalEntry::Kind::kCreatedDirectory, path);
  return true;
}

bool FileAreaJournal::NoteRemovalAfterSave(const std::string& path) {
  if (!Inside(path)) return true;
  if (!RecordEntry({JournalEntry::Kind::kRemoveAfterSave, NormalisePath(path), std::string()})) return false;
  Note(JournalEntry::Kind::kRemoveAfterSave, path);
  return true;
}

bool FileAreaJournal::KeepCatalogFile(bool existed, std::string_view content) {
  if (kept_catalog_) return true;
  std::string error;
  if (!Open()) return false;
  if (existed && !WriteFileAtomically(JoinPath(journal_directory_, kJournalCatalogCopy), content, &error)) {
    return false;
  }
  kept_catalog_ = Record(ManifestLine('c', {existed ? "1" : "0"}), true);
  return kept_catalog_;
}

bool FileAreaJournal::BeforeSave(const std::string& catalog_file) {
  if (empty()) return true;
  const FileIdentity id = IdentityOf(catalog_file);
  return Record(ManifestLine('s', {std::to_string(id.device), std::to_string(id.inode), std::to_string(id.size),
                                   std::to_string(id.modified_ns)}),
                true);
}

void FileAreaJournal::AfterSave() {
  // The catalog file is on the disk (its save syncs it): this record needs no flush.
  if (!empty()) Record(ManifestLine('S', {}), false);
}

bool FileAreaJournal::Absorb(FileAreaJournal& other) {
  bool whole = true;
  for (JournalEntry entry : other.entries_) {
    if (entry.kind == JournalEntry::Kind::kMoved) {
      if (!Open()) return false;
      const std::string aside = JoinPath(journal_directory_, std::to_string(moved_++));
      const std::string from = entry.aside;
      entry.aside = aside;
      std::error_code ec;
      if (!RecordEntry(entry)) return false;
      fs::rename(from, aside, ec);
      if (ec) whole = false;
    } else if (!RecordEntry(entry)) {
      return false;
    }
    Keep(entry);
  }
  other.entries_.clear();
  other.Commit();
  return whole;
}

void FileAreaJournal::BeginUndo() {
  if (!empty()) Record(ManifestLine('U', {}), true);
}

void FileAreaJournal::Restore() {
  BeginUndo();
  UndoJournalEntries(entries_);
  // The entries put back reach the disk before the manifest goes.
  if (!journal_directory_.empty()) SyncFileSystem(catalog_directory_);
  entries_.clear();
  Commit();
}

// The manifest goes first: a journal directory without one is being dropped.
void FileAreaJournal::Commit() {
  std::error_code ec;
  if (!journal_directory_.empty()) {
    fs::remove(JoinPath(journal_directory_, kJournalManifest), ec);
    fs::remove_all(journal_directory_, ec);
  }
  if (manifest_) manifest_->Close();
  manifest_.reset();
  journal_directory_.clear();
  entries_.clear();
  seen_.clear();
  created_.clear();
  created_directories_.clear();
  moved_ = 0;
  kept_catalog_ = false;
  directories_synced_ = false;
}

FileAreaJournal::Suspension::Suspension() : suspended_(g_active) { SetActive(nullptr); }

FileAreaJournal::Suspension::~Suspension() { SetActive(suspended_); }

std::string FileAreaJournal::EarlierCopy(const std::string& source) const {
  const auto it = copies_.find(source);
  return it != copies_.end() ? it->second : std::string();
}

void FileAreaJournal::NoteCopy(const std::string& source, const std::string& destination) {
  copies_.emplace(source, destination);
}

}  // namespace zarn
