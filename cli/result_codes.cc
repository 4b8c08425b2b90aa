// Meanings of result codes, for messages of the command-line host.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

struct Meaning {
  uint32_t code;
  const char* text;
};

constexpr Meaning kMeanings[] = {
    {ZARN_OK, "success"},
    {ZARN_S_REPLACED, "replaced"},
    {ZARN_RESULT_MINUS_ONE, "nothing found or invalid argument"},
    {ZARN_E_NO_OBJECT_HANDLE, "the object manager returned no object"},
    {ZARN_E_IMPORT_ARGUMENT, "bad import argument, missing source file or empty file area"},
    {ZARN_E_XML_LOAD, "the component XML cannot be loaded or parsed"},
    {ZARN_E_OBJECT_WITHOUT_ID, "an object of the component XML has no id"},
    {ZARN_E_CHILD_WITHOUT_NAME, "a child element lacks its name or refid"},
    {ZARN_E_NO_VERSION, "no version element, or the source is not a regular file"},
    {ZARN_E_NO_COMPONENT, "no component could be read"},
    {ZARN_E_NOT_IN_CATALOG, "no component of the file is in the catalog"},
    {ZARN_E_XSLT, "the stylesheet conversion failed"},
    {ZARN_E_ALREADY_PRESENT, "already in the catalog"},
    {ZARN_E_NO_RECORDS, "nothing to convert at that path"},
    {ZARN_E_HWCN_DEVICE_IMPORT, "the hardware-configuration device source failed to import"},
    {ZARN_E_HWCN_RACK_IMPORT, "the hardware-configuration rack source failed to import"},
    {ZARN_E_LIST_FILE, "the import list file cannot be read"},
    {ZARN_E_NO_PI_LIBRARY, "the PROFIBUS PA library is not in the catalog"},
    {ZARN_E_SAME_DEVICE_REVISION, "already in the catalog with the same device revision"},
    {ZARN_E_OTHER_DEVICE_REVISION, "already in the catalog with another device revision"},
    {ZARN_E_SAME_DD_REVISION, "already in the catalog with the same DD revision"},
    {ZARN_E_OTHER_DD_REVISION, "already in the catalog with another DD revision"},
    {ZARN_E_NO_PARENT_CREATOR, "no creator found for a parent relation"},
    {ZARN_E_CANNOT_WRITE, "cannot write to the working or catalog directory"},
    {ZARN_E_CANNOT_DELETE, "an old file-area directory cannot be deleted"},
    {ZARN_E_COPY, "a file cannot be copied into the catalog"},
    {ZARN_E_TMP_DIRECTORY, "cannot create a temporary directory"},
    {ZARN_E_ALLOCATION, "out of memory"},
    {ZARN_E_OBJECT_WITHOUT_ELEMENT, "an object has no element"},
    {ZARN_E_NO_CATALOG, "no catalog: it cannot be created or loaded"},
    {ZARN_E_DOCUMENT, "an XML document cannot be loaded or saved"},
    {ZARN_E_EMPTY_PATH, "the component path is empty"},
    {ZARN_E_NO_LEVEL, "the object fits no catalog level"},
    {ZARN_E_NO_CATALOG_FOLDER_NODE, "no node for the catalog folder"},
    {ZARN_E_NOT_FOUND, "no such element in the catalog"},
    {ZARN_E_ATTRIBUTE, "attribute not found or empty"},
    {ZARN_E_PATH_TOO_LONG, "a resolved file path is too long"},
    {ZARN_E_NO_PARENT, "the element has no parent"},
    {ZARN_E_NOT_DELETABLE, "sections, protocols and classifications cannot be deleted"},
    {ZARN_E_REPLACE_PREPARE, "the replacement cannot be prepared"},
    {ZARN_E_NO_RELATION, "no such relation"},
    {ZARN_E_NOT_REFERENCED, "no component refers to it"},
    {ZARN_E_EMPTY_VALUE, "the initial value is empty"},
    {ZARN_E_NO_VALUE, "no initial value"},
    {ZARN_E_COMPILER_OPEN, "the compiler cannot open the source"},
    {ZARN_E_NO_PURPOSE_MAPPING, "no purpose mapping"},
    {ZARN_E_CONVERTER_WARNING, "converted with warnings"},
};

}  // namespace

std::string DescribeResult(uint32_t code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08x", code);
  for (const Meaning& m : kMeanings) {
    if (m.code == code) return std::string(hex) + " (" + m.text + ")";
  }
  // Conversion hands on the compiler's own result for a source with errors.
  if (code != 0 && code < 0x10000) {
    return std::string(hex) + " (the compiler found errors in the source; --trace - shows them)";
  }
  return std::string(hex) + " (unknown code)";
}

int ReportFailure(std::string_view what, uint32_t code) {
  std::fprintf(stderr, "error: %.*s failed: %s\n", static_cast<int>(what.size()), what.data(),
               DescribeResult(code).c_str());
  return 1;
}

}  // namespace zarn::cli
