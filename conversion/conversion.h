// Cconversion: the context of one ZARN_GetComponents call. It turns device XML into
// component XML with the catalog's stylesheet, compiles sources, reads component
// XML back and collects the ComponentXMLInfo records handed to the host.
#ifndef ZARN_CONVERSION_CONVERSION_H_
#define ZARN_CONVERSION_CONVERSION_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "conversion/component_xml_reader.h"
#include "zarn/catalog_manager.h"

namespace zarn {

namespace xml {
class Stylesheet;
}

class Cconversion {
 public:
  Cconversion(std::string stylesheetPath, std::string baseDir);
  // Frees the records that were not handed out with ReleaseResults.
  ~Cconversion();
  Cconversion(const Cconversion&) = delete;
  Cconversion& operator=(const Cconversion&) = delete;

  void setLanguage(std::string language) { language_ = std::move(language); }
  const std::string& language() const { return language_; }
  const std::string& stylesheetPath() const { return stylesheetPath_; }
  const std::string& baseDir() const { return baseDir_; }

  // Transforms the device XML at `inputPath` into component XML at
  // MakeComponentXmlName(inputPath), written as UTF-16LE without byte order mark.
  // 0, or ZARN_E_XSLT when the source or the stylesheet cannot be loaded or the
  // transformation fails (traced "Failed to load:\n%s %s\n" / "Failed to
  // transformNode:\n%s\n"); nothing is written then. The compiled stylesheet is
  // kept (process-wide, until its file changes).
  uint32_t transformZARNXml(const std::string& inputPath);
  // inputPath + "_comp.xml".
  static std::string MakeComponentXmlName(const std::string& inputPath);
  // outputBase + language + ".device.xml".
  std::string MakeDeviceXmlName(const std::string& outputBase) const;

  // Reads the component XML at `path` (identification on, the catalog's
  // manufacturer table) and adds one record per folder and component, carrying
  // `message`. ZARN_E_NO_COMPONENT when it cannot be loaded or read or holds no
  // object; ZARN_E_ALLOCATION when a record cannot be allocated.
  // `device_configuration` is the catalog's device configuration file; `levels`
  // (may be null) names the manufacturer level each object would be filed under.
  uint32_t AddComponentsFromXml(const ManufacturerTable* manufacturers, const std::string& device_configuration,
                                const std::string& path, const std::string& message,
                                const ManufacturerLevels* levels = nullptr);
  // Adds a record naming `path` with `value` as its message.
  uint32_t AddListedFile(const std::string& path, const std::string& value);
  // Adds a record with a label and a hierarchy given as (element name, value) pairs,
  // outermost first.
  uint32_t AddRecord(const std::string& label, const std::string& path,
                     const std::vector<std::pair<std::string, std::string>>& hierarchy);
  // Compiles `sourcePath` into MakeDeviceXmlName(base) (`base` empty: the source
  // path stands for it). ZARN_E_COMPILER_OPEN when the compiler refuses the source,
  // else the compiler's result. A device XML file is taken as already compiled:
  // it is copied there.
  uint32_t Compile(const std::string& sourcePath, const std::string& base);
  // Sets inPath of the root COMP_COMPONENTXML of the file and saves it in place.
  // ZARN_E_DOCUMENT when it cannot be loaded or saved.
  static uint32_t SetInPath(const std::string& componentXmlPath, const std::string& directory);

  ComponentXMLInfo* results() const { return results_; }
  // Hands the record chain over to the caller.
  ComponentXMLInfo* ReleaseResults();

 private:
  // Puts a record at the head of the chain; null on allocation failure.
  ComponentXMLInfo* NewRecord();
  uint32_t AddObjectRecord(const CCatalog_Object& object, const std::string& path, const std::string& message);

  std::string stylesheetPath_;
  std::string baseDir_;
  std::string language_ = "en";
  ComponentXMLInfo* results_ = nullptr;
  std::shared_ptr<xml::Stylesheet> stylesheet_;
};

// Host records: strings are NewHostString copies (platform/strings.h).
// Puts a level at the head of record's hierarchy; false on allocation failure.
bool PushLevel(ComponentXMLInfo* record, std::string_view elementName, std::string_view value);
// Frees a whole chain with its strings and levels (null allowed).
void FreeComponentXMLInfoChain(ComponentXMLInfo* list);

// The text of a LABEL or HELP element given as XML text, in `language` (the string
// without lang for "en" or when the language has none); "" when there is none.
std::string TextInLanguage(const std::string& elementXml, const std::string& language);

}  // namespace zarn

#endif  // ZARN_CONVERSION_CONVERSION_H_
