/* The catalog manager zarn_catalog_manager_x: the host's interface.
 *
 * Conventions:
 *  1. Every export returns a result code (uint32_t): 0 is success, the ZARN_E_* codes
 *     below are failures, ZARN_S_REPLACED is ZARN_ReplaceComponent's success, and
 *     ZARN_RESULT_MINUS_ONE (all bits set) is returned where an export says so.
 *  2. Text arguments are NUL-terminated UTF-16 strings owned by the caller and only read
 *     during the call. NULL is accepted wherever a text is optional.
 *  3. Text results are written into a caller's VARIANT as VT_BSTR with a new BSTR; the
 *     previous contents are not cleared first. Release with VariantClear or
 *     SysFreeString (both exported by this library).
 *  4. List results are chains of records allocated by the library; each kind has its
 *     own release export, to be called once with the head of the chain. New records
 *     are put at the head, so chains come in reverse order of discovery unless an
 *     export says otherwise.
 *  5. Out-values are written only on success unless an export says otherwise.
 *  6. The library is not thread-safe: call it from one thread at a time.
 *  7. The catalog is created on first use below the directory given to
 *     ZARN_InitCatalogManager (else the setting WorkingDirectory of the object
 *     manager, else the directory above the library's own directory).
 */
#ifndef ZARN_CATALOG_MANAGER_H_
#define ZARN_CATALOG_MANAGER_H_

#include <stdint.h>

#include "zarn/oleauto.h"
#include "zarn/platform.h"

/* ---- Result codes ------------------------------------------------------- */

/* Success. */
#define ZARN_OK 0x00000000u
/* ZARN_ReplaceComponent: the component was replaced. */
#define ZARN_S_REPLACED 0x00004101u
/* Returned where an export says so (null path, null list, empty result). */
#define ZARN_RESULT_MINUS_ONE 0xFFFFFFFFu
/* Compile after import: the object manager returned no object handle. */
#define ZARN_E_NO_OBJECT_HANDLE 0x90201005u
/* Import: mode other than 0 or 1; the source path is not an existing file; the
 * component's file-area directory is empty. */
#define ZARN_E_IMPORT_ARGUMENT 0x90204001u
/* Component XML: the document cannot be created, loaded or parsed. */
#define ZARN_E_XML_LOAD 0x90204002u
/* Component XML: an object element without id. */
#define ZARN_E_OBJECT_WITHOUT_ID 0x90204003u
/* Component XML: a recognised child element without its name or refid attribute. */
#define ZARN_E_CHILD_WITHOUT_NAME 0x90204004u
/* Component XML without a version element; the given source is not a regular file. */
#define ZARN_E_NO_VERSION 0x90204005u
/* A component XML cannot be loaded or read or describes no component; the reader has
 * no object list; the insertion returned no component element. */
#define ZARN_E_NO_COMPONENT 0x90204006u
/* No component of the file is in the catalog. */
#define ZARN_E_NOT_IN_CATALOG 0x90204007u
/* Stylesheet conversion: the device XML or the stylesheet cannot be loaded, or the
 * result does not parse. */
#define ZARN_E_XSLT 0x90204008u
/* Already in the catalog and no revision pair can be compared; a PA library component
 * with the same revision key already hangs under its device type. */
#define ZARN_E_ALREADY_PRESENT 0x90204010u
/* No records were produced; the path is neither a file nor a directory. */
#define ZARN_E_NO_RECORDS 0x90204012u
/* Import of the hardware-configuration device source failed (rolled back). */
#define ZARN_E_HWCN_DEVICE_IMPORT 0x90204013u
/* Import of the hardware-configuration rack source failed (rolled back). */
#define ZARN_E_HWCN_RACK_IMPORT 0x90204014u
/* Import lists: the list file cannot be opened or read. */
#define ZARN_E_LIST_FILE 0x90204015u
/* The PROFIBUS PA library element is missing in the catalog. */
#define ZARN_E_NO_PI_LIBRARY 0x90204016u
/* Already in the catalog with an equal DEVICE_REVISION. */
#define ZARN_E_SAME_DEVICE_REVISION 0x90204018u
/* Already in the catalog with a different DEVICE_REVISION. */
#define ZARN_E_OTHER_DEVICE_REVISION 0x90204019u
/* Already in the catalog, no DEVICE_REVISION pair, equal DD_REVISION. */
#define ZARN_E_SAME_DD_REVISION 0x9020401au
/* Already in the catalog, no DEVICE_REVISION pair, different DD_REVISION; replacement
 * given a first value without a second. */
#define ZARN_E_OTHER_DD_REVISION 0x9020401bu
/* No creator was found for a parent relation. */
#define ZARN_E_NO_PARENT_CREATOR 0x9020401cu
/* The working directory cannot be written; the catalog directory cannot be created;
 * saving the catalog failed; a destination directory cannot be created. */
#define ZARN_E_CANNOT_WRITE 0x90204020u
/* An old file-area directory cannot be deleted. */
#define ZARN_E_CANNOT_DELETE 0x90204021u
/* A file cannot be copied into the file area. */
#define ZARN_E_COPY 0x90204022u
/* The per-call temporary directory cannot be created. */
#define ZARN_E_TMP_DIRECTORY 0x90204023u
/* A returned record or string cannot be allocated. */
#define ZARN_E_ALLOCATION 0x90204030u
/* An object of the component XML has no element. */
#define ZARN_E_OBJECT_WITHOUT_ELEMENT 0x90204031u
/* No catalog: the catalog object cannot be created and initialised. */
#define ZARN_E_NO_CATALOG 0x90204032u
/* An XML document cannot be created, loaded or saved; a required element has no content. */
#define ZARN_E_DOCUMENT 0x90204033u
/* The component path is empty. */
#define ZARN_E_EMPTY_PATH 0x90204034u
/* No catalog node given, or the object fits no level. */
#define ZARN_E_NO_LEVEL 0x90204040u
/* No catalog node given for a catalog folder. */
#define ZARN_E_NO_CATALOG_FOLDER_NODE 0x90204041u
/* The argument names no element of the catalog, or the selection is empty. */
#define ZARN_E_NOT_FOUND 0x90204042u
/* An argument is null or empty, the identification key or the attribute is not found,
 * or its text is empty. */
#define ZARN_E_ATTRIBUTE 0x90204043u
/* A resolved file path has 260 characters or more. */
#define ZARN_E_PATH_TOO_LONG 0x90204044u
/* The element to delete has no parent. */
#define ZARN_E_NO_PARENT 0x90204050u
/* A deletion entry names the root element, a section, a PROTOCOL or a CLASSIFICATION. */
#define ZARN_E_NOT_DELETABLE 0x90204051u
/* The replacement cannot be prepared. */
#define ZARN_E_REPLACE_PREPARE 0x90204053u
/* No relation of the requested type applies; the relation has no references. */
#define ZARN_E_NO_RELATION 0x90204060u
/* No component refers to the given one. */
#define ZARN_E_NOT_REFERENCED 0x90204061u
/* The initial value element has no text. */
#define ZARN_E_EMPTY_VALUE 0x90204070u
/* No initial value element. */
#define ZARN_E_NO_VALUE 0x90204071u
/* The compiler library cannot open the source. */
#define ZARN_E_COMPILER_OPEN 0x90204080u
/* No purpose mapping found. */
#define ZARN_E_NO_PURPOSE_MAPPING 0x90204090u
/* A converter's warning result (turned into success by ZARN_GetComponents). */
#define ZARN_E_CONVERTER_WARNING 0x902040a6u

ZARN_BEGIN_DECLS

/* ---- Lifecycle ------------------------------------------------------------ */

/* Records the working directory under which the catalog directory zarn_catalog lies.
 * Never fails; the value takes effect when the catalog is next created. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_InitCatalogManager(const char16_t* base_directory);

/* Creates the catalog if needed and writes its directory (no trailing separator) into
 * *directory as VT_BSTR. ZARN_E_NO_CATALOG when no catalog can be had. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetCatalogMangerInitialisation(VARIANT* directory);

/* Discards the catalog unsaved; the next export re-reads it from disk. Always 0. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_ResetCatalog(void);

/* ---- Settings ------------------------------------------------------------- */

/* Sets the language of texts ("en", "de", ...; "000" selects whole XML texts). */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_SetCatalogLanguage(const char16_t* language);

/* Told by the object manager that a setting changed: GUI_Language (VT_BSTR) or
 * CatalogCompileAfterImport (VT_UI1, only 1 means true). Other names and types are
 * ignored. Returns 0, or ZARN_E_NO_CATALOG. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_OmCallBack(const char16_t* name, VARIANT value);

ZARN_END_DECLS

#endif /* ZARN_CATALOG_MANAGER_H_ */
