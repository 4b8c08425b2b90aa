/* What a result code of the catalog manager means, in one short English phrase:
 * the texts the command line prints, for hosts to show too. */
#ifndef ZARN_RESULT_MESSAGES_H_
#define ZARN_RESULT_MESSAGES_H_

#include "zarn/catalog_manager.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The meaning of `code`; for a code below 0x10000 (the compiler's own result for a
 * source with errors) "the compiler found errors in the source"; NULL for a code
 * the catalog manager does not return. The text is static: do not free it. */
static inline const char* ZARN_ResultMessage(uint32_t code) {
  switch (code) {
    case ZARN_OK:
      return "success";
    case ZARN_S_REPLACED:
      return "replaced";
    case ZARN_RESULT_MINUS_ONE:
      return "nothing found or invalid argument";
    case ZARN_E_NO_OBJECT_HANDLE:
      return "the object manager returned no object";
    case ZARN_E_IMPORT_ARGUMENT:
      return "bad import argument, missing source file or empty file area";
    case ZARN_E_XML_LOAD:
      return "the component XML cannot be loaded or parsed";
    case ZARN_E_OBJECT_WITHOUT_ID:
      return "an object of the component XML has no id";
    case ZARN_E_CHILD_WITHOUT_NAME:
      return "a child element lacks its name or refid";
    case ZARN_E_NO_VERSION:
      return "no version element, or the source is not a regular file";
    case ZARN_E_NO_COMPONENT:
      return "no component could be read";
    case ZARN_E_NOT_IN_CATALOG:
      return "no component of the file is in the catalog";
    case ZARN_E_XSLT:
      return "the stylesheet conversion failed";
    case ZARN_E_ALREADY_PRESENT:
      return "already in the catalog";
    case ZARN_E_NO_RECORDS:
      return "nothing to convert at that path";
    case ZARN_E_HWCN_DEVICE_IMPORT:
      return "the hardware-configuration device source failed to import";
    case ZARN_E_HWCN_RACK_IMPORT:
      return "the hardware-configuration rack source failed to import";
    case ZARN_E_LIST_FILE:
      return "the import list file cannot be read";
    case ZARN_E_NO_PI_LIBRARY:
      return "the PROFIBUS PA library is not in the catalog";
    case ZARN_E_SAME_DEVICE_REVISION:
      return "already in the catalog with the same device revision";
    case ZARN_E_OTHER_DEVICE_REVISION:
      return "already in the catalog with another device revision";
    case ZARN_E_SAME_DD_REVISION:
      return "already in the catalog with the same DD revision";
    case ZARN_E_OTHER_DD_REVISION:
      return "already in the catalog with another DD revision";
    case ZARN_E_NO_PARENT_CREATOR:
      return "no creator found for a parent relation";
    case ZARN_E_CANNOT_WRITE:
      return "cannot write to the working or catalog directory";
    case ZARN_E_CANNOT_DELETE:
      return "an old file-area directory cannot be deleted";
    case ZARN_E_COPY:
      return "a file cannot be copied into the catalog";
    case ZARN_E_TMP_DIRECTORY:
      return "cannot create a temporary directory";
    case ZARN_E_ALLOCATION:
      return "out of memory";
    case ZARN_E_OBJECT_WITHOUT_ELEMENT:
      return "an object has no element";
    case ZARN_E_NO_CATALOG:
      return "no catalog: it cannot be created or loaded";
    case ZARN_E_DOCUMENT:
      return "an XML document cannot be loaded or saved";
    case ZARN_E_EMPTY_PATH:
      return "the component path is empty";
    case ZARN_E_BUSY:
      return "another process is working on the catalog; try again";
    case ZARN_E_NO_LEVEL:
      return "the object fits no catalog level";
    case ZARN_E_NO_CATALOG_FOLDER_NODE:
      return "no node for the catalog folder";
    case ZARN_E_NOT_FOUND:
      return "no such element in the catalog";
    case ZARN_E_ATTRIBUTE:
      return "attribute not found or empty";
    case ZARN_E_PATH_TOO_LONG:
      return "a resolved file path is too long";
    case ZARN_E_NO_PARENT:
      return "the element has no parent";
    case ZARN_E_NOT_DELETABLE:
      return "sections, protocols and classifications cannot be deleted";
    case ZARN_E_REPLACE_PREPARE:
      return "the replacement cannot be prepared";
    case ZARN_E_NO_RELATION:
      return "no such relation";
    case ZARN_E_NOT_REFERENCED:
      return "no component refers to it";
    case ZARN_E_EMPTY_VALUE:
      return "the initial value is empty";
    case ZARN_E_NO_VALUE:
      return "no initial value";
    case ZARN_E_COMPILER_OPEN:
      return "the compiler cannot open the source";
    case ZARN_E_NO_PURPOSE_MAPPING:
      return "no purpose mapping";
    case ZARN_E_CONVERTER_WARNING:
      return "converted with warnings";
    default:
      break;
  }
  if (code != 0 && code < 0x10000u) return "the compiler found errors in the source";
  return (const char*)0;
}

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* ZARN_RESULT_MESSAGES_H_ */
