#include "import/file_area_journal.h"

#include <filesystem>

#include "platform/paths.h"
#include "platform/files.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;

FileAreaJournal* g_active = nullptr;

}  // namespace

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
  g_active = this;
  active_ = true;
}

void FileAreaJournal::Deactivate() {
  if (!active_) return;
  g_active = previous_;
  active_ = false;
}

bool FileAreaJournal::Inside(const std::string& path) const {
  return !catalog_directory_.empty() && IsPathInside(catalog_directory_, NormalisePath(path)) &&
         NormalisePath(path) != catalog_directory_;
}

bool FileAreaJournal::MoveAside(const std::string& path) {
  std::error_code ec;
  if (journal_directory_.empty()) {
    journal_directory_ = JoinPath(catalog_directory_, "zarnJournal$$" + std::to_string(CurrentProcessId()));
    fs::create_directories(journal_directory_, ec);
    if (ec) return false;
  }
  const std::string aside = JoinPath(journal_directory_, std::to_string(entries_.size()));
  fs::rename(path, aside, ec);
  if (ec) return false;
  entries_.push_back({path, aside});
  return true;
}

bool FileAreaJournal::BeforeWrite(const std::string& path) {
  if (!Inside(path) || !seen_.insert(NormalisePath(path)).second) return true;
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path, ec))) {
    entries_.push_back({path, std::string()});
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

void FileAreaJournal::Restore() {
  std::error_code ec;
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (it->aside.empty()) {
      fs::remove(it->path, ec);
      continue;
    }
    fs::remove_all(it->path, ec);
    fs::create_directories(fs::path(it->path).parent_path(), ec);
    fs::rename(it->aside, it->path, ec);
  }
  Commit();
}

void FileAreaJournal::Commit() {
  std::error_code ec;
  if (!journal_directory_.empty()) fs::remove_all(journal_directory_, ec);
  journal_directory_.clear();
  entries_.clear();
  seen_.clear();
  created_.clear();
}

FileAreaJournal::Suspension::Suspension() : suspended_(g_active) { g_active = nullptr; }

FileAreaJournal::Suspension::~Suspension() { g_active = suspended_; }

std::string FileAreaJournal::EarlierCopy(const std::string& source) const {
  const auto it = copies_.find(source);
  return it != copies_.end() ? it->second : std::string();
}

void FileAreaJournal::NoteCopy(const std::string& source, const std::string& destination) {
  copies_.emplace(source, destination);
}

}  // namespace zarn
