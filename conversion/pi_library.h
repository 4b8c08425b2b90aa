// The PROFIBUS PA library tree: a directory tree marked by PI/0000/pa_import.h whose
// .ddl files are named manufacturer_devicetype_devicerevision_ddrevision. Instead of
// converting each source, the catalog builds a tree of manufacturers, device types
// and components from the file names and writes it as XML text for the catalog,
// below \DEVICE\PROFIBUS_PA\PI. Children are written in ascending id order.
#ifndef ZARN_CONVERSION_PI_LIBRARY_H_
#define ZARN_CONVERSION_PI_LIBRARY_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace zarn {

class CCatalog_Contents;

// A node of the tree with its children by id. `fsPath` is the parent's fsPath, "\"
// and the id (catalog-document form).
template <typename T>
class cHcfMapEntry {
 public:
  cHcfMapEntry(std::string id_, std::string fsPath_) : id(std::move(id_)), fsPath(std::move(fsPath_)) {}
  virtual ~cHcfMapEntry() = default;
  // Appends the node's XML text to *out.
  virtual void ToXml(std::string* out) const = 0;

  // The child with this id, created (with `fsPath` set) when missing.
  T* Child(const std::string& childId) {
    std::unique_ptr<T>& slot = children[childId];
    if (!slot) slot = std::make_unique<T>(childId, fsPath + "\\" + childId);
    return slot.get();
  }

  std::string id;
  std::string fsPath;
  std::map<std::string, std::unique_ptr<T>> children;  // sorted: deterministic output
};

class cHcfComponentType {
 public:
  cHcfComponentType(std::string manufacturer, std::string deviceType, std::string deviceRevision,
                    std::string ddRevision, std::string sourceFile);
  void ToXml(std::string* out) const;

  std::string manufacturer;
  std::string deviceType;
  std::string id;  // the device revision part
  std::string fsPath;
  std::string ddRevision;
  std::string deviceRevision;
  std::string sourceFile;  // file name with extension
  std::string label;       // "DeviceRevision: 0x%s, DdRevision: 0x%s"
};

class cDeviceType : public cHcfMapEntry<cHcfComponentType> {
 public:
  using cHcfMapEntry::cHcfMapEntry;
  void ToXml(std::string* out) const override;
  // Adds a component keyed by device revision and DD revision; its fsPath is set
  // here. 0, or ZARN_E_ALREADY_PRESENT when the key exists (nothing added).
  uint32_t Add(std::unique_ptr<cHcfComponentType> component);
  std::string label;
};

class cManufacturerType : public cHcfMapEntry<cDeviceType> {
 public:
  using cHcfMapEntry::cHcfMapEntry;
  void ToXml(std::string* out) const override;
  std::string label;
};

class cHcfType : public cHcfMapEntry<cManufacturerType> {
 public:
  using cHcfMapEntry::cHcfMapEntry;
  void ToXml(std::string* out) const override;
  // Adds a component below its manufacturer and device type (created when missing).
  uint32_t Add(std::unique_ptr<cHcfComponentType> component);
};

// Splits a PI library file name (without extension) at "_" into exactly four
// non-empty parts; false otherwise.
bool SplitPiFileName(const std::string& stem, std::string parts[4]);

// The process-wide root (id "PI", fsPath \DEVICE\PROFIBUS_PA\PI), created on first use.
cHcfType& GetPiLibraryRoot();
// The root's XML text.
std::string GetPiLibraryXml();
// Adds every .ddl of the PI library directory (and its subdirectories) to the tree,
// then replaces the catalog's copy (catalog directory + the root's fsPath) by a copy
// of the directory. ZARN_E_NO_CATALOG without a catalog; otherwise 0.
uint32_t ImportPiLibrary(CCatalog_Contents* catalog, const std::string& piLibraryDirectory);

}  // namespace zarn

#endif  // ZARN_CONVERSION_PI_LIBRARY_H_
