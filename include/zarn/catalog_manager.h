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
/* Busy: another process held the working directory's lock for longer than the wait
 * (10 seconds; ZARN_LOCK_TIMEOUT_MS). Nothing was done; call again. */
#define ZARN_E_BUSY 0x90204035u
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

/* ---- Component retrieval -------------------------------------------------- */

/* One catalog level of a component: elementName is "PROTOCOL", "CLASSIFICATION",
 * "MANUFACTURER", "COMPONENT_FOLDER" or "COMPONENT"; value the level's name or id
 * path. Innermost level first. */
typedef struct ComponentXMLLevel {
  char16_t* elementName;
  char16_t* value;
  void* reserved1; /* always NULL */
  void* reserved2; /* always NULL */
  struct ComponentXMLLevel* next;
} ComponentXMLLevel;

/* One component (or folder) of a converted component XML, or one listed file.
 * Strings may be NULL (label, help, id and hierarchy of listed files). */
typedef struct ComponentXMLInfo {
  char16_t* label;            /* LABEL in the catalog language */
  char16_t* help;             /* HELP in the catalog language */
  char16_t* id;               /* the component's id */
  char16_t* componentXmlPath; /* the component XML file, or the listed path */
  char16_t* message;          /* the converter's message, or the listing's value */
  ComponentXMLLevel* hierarchy;
  struct ComponentXMLInfo* next;
} ComponentXMLInfo;

/* Converts `path` into component XML and describes what it holds. `path` is a
 * device-description source, a device XML file, a file a converter plug-in accepts,
 * a component XML file, a directory (listed, not converted), or a path holding one
 * of the markers "<ZarnGlobSpecial>" (convert the sources of the directory part in
 * one batch) or "<FoundPiLibrarySpecial>" (a PROFIBUS PA library). `language` is
 * not read. Returns 0 and the chain in *list; ZARN_RESULT_MINUS_ONE for a NULL path;
 * ZARN_E_NO_RECORDS when nothing was found, also for a file that no converter
 * plug-in accepts and that is no device-description source (a GSD language variant
 * given alone, a zip package without an IODD, a format no plug-in reads): *list
 * then names the file and its message says what the file is and why it is not
 * accepted; the converter's code (with *list
 * naming the file and holding its message) when a plug-in failed; the compile,
 * stylesheet or reading failure otherwise. Release with ZARN_FreeComponentXMLInfo. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetComponents(const char16_t* path, ComponentXMLInfo** list,
                                                  const char16_t* language);

/* Releases a chain of ZARN_GetComponents. NULL is accepted. 0, or ZARN_E_NO_CATALOG. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_FreeComponentXMLInfo(ComponentXMLInfo* list);

/* ---- Log paths and short names -------------------------------------------- */

/* One item of a log path: an element on the way from a catalog element up to the
 * top of the catalog, or up along the catalog folders that refer to it. Every
 * string is a NUL-terminated UTF-16 string in its own C-heap block. */
typedef struct LogPathSegment {
  char16_t* name;              /* element name: COMPONENT, MANUFACTURER, CATALOG_FOLDER, ... */
  char16_t* id;                /* the element's id; "" when it has none */
  char16_t* help;              /* with texts: the HELP text in the catalog language ("" if none); else NULL */
  char16_t* label;             /* with texts: the LABEL text in the catalog language ("" if none); else NULL */
  struct LogPathSegment* next; /* next item, NULL at the end */
} LogPathSegment;

/* One described location of a catalog element. */
typedef struct LogPathEntry {
  /* The element's component path; in mode 1 of ZARN_GetLogPaths its id. NULL in the
   * empty record of a catalog-folder reference element. */
  char16_t* path;
  /* The LABEL text in the catalog language, else the last "/"-segment of path; NULL
   * when both are empty. */
  char16_t* label;
  /* Items from the element upward (see ZARN_GetLogPaths); NULL when none. */
  LogPathSegment* segments;
  struct LogPathEntry* next; /* next entry, NULL at the end */
} LogPathEntry;

/* Lists catalog elements below (or at) the element that component_path names, one
 * or more entries per element, in the reverse order of the selection:
 *   mode 1: the direct children named COMPONENT, COMPONENT_FOLDER, PROTOCOL,
 *           CLASSIFICATION, MANUFACTURER, ZARN_CATALOG or section that are not
 *           isInvisible and are or contain a COMPONENT; entries carry ids as path,
 *           and there is no walk up the tree (the items below stop at the element);
 *   mode 2: the element itself;
 *   other:  every COMPONENT at any depth below the element that is not isInvisible.
 * Items: an element that no catalog folder refers to, directly or through one of
 * its ancestors, yields one entry whose items run from the element up to the child
 * of the root element. A catalog folder refers to an element X when a COMPONENT or
 * COMPONENT_FOLDER inside it (the referring element) holds a component_ref or
 * component_folder_ref whose text is X's component path. Walking up from the
 * element, the first referred element X (the element itself or an ancestor) ends
 * the entry: its items are those walked so far (below X), X's own item when the
 * referring element has no id, then the catalog folders above the referring
 * element, nearest first. The walk then goes on from X with a further entry whose
 * items start at X, which is listed only if a further referred ancestor ends it in
 * the same way; the component-tree continuation above the last referred element is
 * never listed. So an element appears at its catalog-folder locations only, or at
 * its tree location when nothing refers to it. If a component path is the text of
 * several references, the last one in document order is used. The entries of one
 * element follow each other, the further locations before the first.
 * A COMPONENT or COMPONENT_FOLDER that itself holds a component_ref or
 * component_folder_ref (a referring element) yields an empty record (path, label
 * and segments NULL), except when it is the last element selected: the list then
 * begins with the record of the element before it.
 * with_texts (non-zero): segments carry LABEL and HELP texts.
 * *entries is written in every case after the selection (NULL on failure).
 * Returns 0; ZARN_E_EMPTY_PATH for a NULL or empty path; ZARN_E_NOT_FOUND when
 * nothing is selected; ZARN_E_ALLOCATION when a record cannot be allocated (no list
 * is returned then); ZARN_E_NO_CATALOG. Release the list with ZARN_FreeLogPaths. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetLogPaths(const char16_t* component_path, LogPathEntry** entries,
                                                uint8_t with_texts, int32_t mode);

/* ZARN_GetLogPaths in mode 2: the entries of the element itself. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetLogPath(const char16_t* component_path, LogPathEntry** entries,
                                               uint8_t with_texts);

/* Frees a list from ZARN_GetLogPaths or ZARN_GetLogPath (or an import): every entry,
 * its strings and its segments. Returns 0, or ZARN_RESULT_MINUS_ONE for NULL. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_FreeLogPaths(LogPathEntry* entries);

/* The short (COT) name of an element: "\" followed by the ids of the element and its
 * ancestors below the nearest MANUFACTURER, CLASSIFICATION or PROTOCOL, outermost
 * first, joined by "\" (/DEVICE/PROFIBUS/SENSOR/M/F/C gives \F\C). Writes VT_BSTR
 * into *cot_name in every case (an empty string when the path names no element).
 * Returns 0, ZARN_RESULT_MINUS_ONE when the name is empty, or ZARN_E_NO_CATALOG. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetCotNameFromComponentPath(const char16_t* component_path, VARIANT* cot_name);

/* The component path of the one element anywhere in the catalog whose trailing ids
 * are the segments of cot_name. Writes VT_BSTR into *component_path in every case
 * (empty when not found). Returns 0, ZARN_RESULT_MINUS_ONE when no element or
 * several match, or ZARN_E_NO_CATALOG. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetComponentPathFromCotName(const char16_t* cot_name, VARIANT* component_path);

/* ---- Import --------------------------------------------------------------- */

/* Imports one source into the catalog and saves the catalog.
 * source_path: a component XML file (from ZARN_GetComponents), a component XML of a
 *   "ZarnGlobSpecial" batch directory (the whole bundle of universal sources is
 *   imported once; later calls for the same bundle import nothing and return 0),
 *   or a PROFIBUS PA library path ending in "<FoundPiLibrarySpecial>".
 * log_paths: set to NULL first (may be NULL); on success, and also after some
 *   failures, it receives the log paths of what was imported. Release a non-NULL
 *   chain with ZARN_FreeLogPaths in every case.
 * mode: 0 imports; 1 only runs the platform-source generation for ".ddl" sources
 *   and saves the catalog; any other value returns ZARN_E_IMPORT_ARGUMENT and
 *   changes nothing.
 * The component's files (the source directory named by inPath) are copied into its
 * directory of the catalog's file area (its fsPath below zarn_catalog); stale
 * "*.ddl??", "*.mdd??", "*.device.xml" and "*.device.xml_comp.xml" files are removed
 * there. Hardware-configuration sources named by the component are imported too.
 * On any failure the catalog is left as it was saved before the call (the file is
 * unchanged and the catalog is re-read from it) and every directory the import
 * created is deleted.
 * Returns 0, or:
 *   ZARN_E_IMPORT_ARGUMENT  bad mode; the source is not an existing file; and for
 *       input that would reach outside the catalog directory: an id, section,
 *       protocol, classification, manufacturer or COMPONENT_PATH segment that is
 *       "..", ".", or holds "/", a backslash or NUL; a file reference (ZARN, IMAGE,
 *       HWCN_DeviceItem, ADDITIONAL_ZARNS strings, ...) that is absolute or climbs
 *       with ".."; a file-area directory that is empty, the catalog directory
 *       itself or inside its catalogData or Device directory; a source directory
 *       that contains the catalog. Nothing is created, copied or deleted outside
 *       the catalog directory.
 *   ZARN_E_ALREADY_PRESENT, ZARN_E_SAME_DEVICE_REVISION, ZARN_E_OTHER_DEVICE_REVISION,
 *   ZARN_E_SAME_DD_REVISION, ZARN_E_OTHER_DD_REVISION  the component is already in
 *       the catalog; catalog and file area stay as they were.
 *   ZARN_E_NO_COMPONENT  the component XML describes nothing to insert.
 *   ZARN_E_HWCN_DEVICE_IMPORT, ZARN_E_HWCN_RACK_IMPORT  a hardware-configuration
 *       source failed to import.
 *   ZARN_E_NO_PI_LIBRARY  the catalog has no element /DEVICE/PROFIBUS_PA.
 *   ZARN_E_CANNOT_WRITE  a directory cannot be created, or saving failed.
 *   ZARN_E_CANNOT_DELETE, ZARN_E_COPY  a file-area directory cannot be replaced, or a
 *       file cannot be copied.
 *   ZARN_E_PATH_TOO_LONG  a file's path in the file area would have 260 characters or
 *       more (a working directory too deep for the component's folders).
 *   ZARN_E_NO_OBJECT_HANDLE or the object manager's code  compiling after the
 *       import (setting CatalogCompileAfterImport) failed.
 *   the reading and insertion codes (ZARN_E_XML_LOAD, ZARN_E_NO_VERSION,
 *   ZARN_E_OBJECT_WITHOUT_ID, ZARN_E_CHILD_WITHOUT_NAME, ZARN_E_NO_PARENT_CREATOR,
 *   ...), ZARN_E_NO_CATALOG. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_ImportComponent(const char16_t* source_path, LogPathEntry** log_paths,
                                                    int32_t mode);

/* Import batches, for hosts that import a whole device library: between
 * ZARN_BeginImportBatch and ZARN_CommitImportBatch, ZARN_ImportComponent does not
 * save the catalog on every call; it saves after every `chunk` successful imports
 * (0 chooses 500) and ZARN_CommitImportBatch saves the rest. Everything else stays
 * as documented above: each import is atomic (a failing source leaves nothing of
 * itself in the catalog or the file area; the imports before it are kept, saved at
 * that point), results and log paths are per call, and every save writes the
 * catalog file crash-safely. A process that ends without committing (a crash, or
 * ZARN_ResetCatalog) loses at most the imports since the last save; the files those
 * imports copied stay in the file area until the component is imported again.
 * Unloading the library commits an open batch. Other modifying calls during a batch
 * (replace, delete, import list) save as they always do, which saves the batch's
 * imports as well.
 * ZARN_BeginImportBatch commits a batch already open and returns 0, or that
 * commit's code. ZARN_CommitImportBatch returns 0 (also when no batch is open) or
 * ZARN_E_CANNOT_WRITE (the batch stays open; commit again); both return
 * ZARN_E_NO_CATALOG without a catalog. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_BeginImportBatch(uint32_t chunk);
ZARN_EXPORT uint32_t ZARN_CALL ZARN_CommitImportBatch(void);

/* ---- Initial values and purpose mapping ----------------------------------- */

/* The initial value that the component at component_path prescribes for the variable
 * variable_ref (an INITIAL_VALUES/initial_value whose first child has that ref), in
 * the catalog language: the value child marked with the language, else its second
 * child; a typed value is the text of the value child's first element child.
 * On success writes VT_BSTR into *value and returns 0. Returns ZARN_E_NO_VALUE when
 * the component, the initial value or the value element is missing, ZARN_E_EMPTY_VALUE
 * when the value element is empty, ZARN_E_NO_CATALOG; *value is then untouched. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetInitialValue(const char16_t* component_path, const char16_t* variable_ref,
                                                    VARIANT* value);

/* Purposes of ZARN_GetPurposeMapping. */
#define ZARN_PURPOSE_TAG 0
#define ZARN_PURPOSE_DESCRIPTION 1
#define ZARN_PURPOSE_MESSAGE 2
#define ZARN_PURPOSE_DEVICE_TYPE 3

/* The ref of the variable that the component's PURPOSE_MAPPING maps to a purpose:
 * the element just before the last string naming the purpose. Any other kind reads
 * the ref attribute of the PURPOSE_MAPPING element itself ("" when absent). On
 * success writes VT_BSTR into *value and returns 0; ZARN_E_NO_PURPOSE_MAPPING when
 * nothing maps the purpose; ZARN_E_NO_CATALOG. *value is untouched on failure. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetPurposeMapping(const char16_t* component_path, int32_t kind, VARIANT* value);

/* ---- Component attributes ----------------------------------------------- */

/* One attribute of an element: the name of a child element and its value (file
 * references resolved to full paths, texts in the catalog language). */
typedef struct CompAttrEntry {
  char16_t* name;
  char16_t* value;
  struct CompAttrEntry* next;
} CompAttrEntry;

/* One element described: its id ("" without one) and its attributes, which come in
 * the reverse of document order of the child elements. */
typedef struct CompAttrInfo {
  char16_t* name;
  CompAttrEntry* attributes; /* NULL when the element has none */
  struct CompAttrInfo* next;
} CompAttrInfo;

/* The attributes of the catalog element at the component path `path` ("/a/b"), or
 * of every component and folder of the component XML file `path` (ending in
 * ".xml"). Children INITIAL_VALUES, COMPONENT_RELATIONS, PROTOCOL, CLASSIFICATION,
 * MANUFACTURER, COMPONENT, COMPONENT_FOLDER and CATALOG_FOLDER are not reported.
 * Returns 0 and the chain in *list (NULL for a file that describes nothing);
 * ZARN_E_NOT_FOUND for an empty path or a catalog path that addresses no element
 * with element children; ZARN_E_NO_VERSION when the ".xml" path is no regular file;
 * the reading failure of the file (ZARN_E_XML_LOAD, ZARN_E_NO_VERSION,
 * ZARN_E_OBJECT_WITHOUT_ID, ZARN_E_CHILD_WITHOUT_NAME, ZARN_E_NO_COMPONENT for a
 * looping parent chain) with nothing stored; ZARN_E_ALLOCATION;
 * ZARN_E_NO_CATALOG. Release with ZARN_FreeCompAttrInfoList. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetComponentAttributes(const char16_t* path, CompAttrInfo** list);

/* One attribute of the catalog element at `path` (a component path, or "/ident:"
 * followed by an identification key "%04X/%04X/%04X") as VT_BSTR in *value.
 * SECTION, CLASSIFICATION, PROTOCOL and MANUFACTURER name the element's levels;
 * any other name is a child element read by `mode`: 0 the element's value followed
 * by those of the same-named children of every ancestor, inner first, joined by
 * ";"; 1 the element's own value; 2 the element's own child, which must exist;
 * other modes read nothing. Returns ZARN_E_ATTRIBUTE for a NULL or empty
 * argument, an unknown identification key, a missing child (mode 2) or an empty
 * result; ZARN_E_NOT_FOUND when the path addresses nothing (*value untouched);
 * ZARN_E_PATH_TOO_LONG from mode 2; ZARN_E_NO_CATALOG. Once the path addressed
 * an element, *value is written, also with ZARN_E_ATTRIBUTE (an empty string). */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetComponentAttribute(const char16_t* path, const char16_t* attributeName,
                                                          VARIANT* value, int32_t mode);

/* Releases a chain of ZARN_GetComponentAttributes. NULL is accepted. Always 0. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_FreeCompAttrInfoList(CompAttrInfo* list);

/* ---- Relations ------------------------------------------------------------ */

/* Relation types of ZARN_GetRelations. */
#define ZARN_RELATION_CHILD 0
#define ZARN_RELATION_PARENT 1
#define ZARN_RELATION_SIBLING 2
#define ZARN_RELATION_PREV 3
#define ZARN_RELATION_NEXT 4
#define ZARN_RELATION_SUCCESSOR_CHANGE 5
#define ZARN_RELATION_PREDECESSOR_CHANGE 6

/* One required_range of a related component: a variable and its bounds. A bound
 * is present when it holds a value or is conditioned; values are VT_BSTR texts,
 * VT_EMPTY when absent. Slot i of the numbered bounds is MAX_VALUE<i+1> or
 * MIN_VALUE<i+1>. */
typedef struct RequiredRange {
  char16_t* variable; /* ref of variable_ref, else of unknown_ref; NULL when neither */
  uint8_t minPresent;
  uint8_t maxPresent;
  uint8_t minConditioned;
  uint8_t maxConditioned;
  VARIANT minValue;
  VARIANT maxValue;
  VARIANT maxValues[10];
  VARIANT minValues[10];
  uint8_t maxPresentN[10];
  uint8_t minPresentN[10];
  uint8_t maxConditionedN[10];
  uint8_t minConditionedN[10];
  struct RequiredRange* next;
} RequiredRange;

/* One catalog component a relation refers to. A relation that names a folder gives
 * one record per component below the folder, each with folderPath set. Numbers are
 * -1 when absent. */
typedef struct RelationComponent {
  char16_t* componentId;     /* componentID of the referenced catalog element */
  char16_t* componentRefOrg; /* the reference as the component XML wrote it, or NULL */
  char16_t* componentPath;   /* component path of the related COMPONENT */
  uint8_t autoCreateConditioned;
  uint8_t autoCreateNoDeleteConditioned;
  uint8_t minimumConditioned;
  uint8_t maximumConditioned;
  int32_t autoCreate;
  int32_t autoCreateNoDelete;
  int32_t minimumNumber;
  int32_t maximumNumber;
  char16_t* folderPath; /* the referenced folder's component path, or NULL */
  RequiredRange* ranges;
  struct RelationComponent* next;
} RelationComponent;

/* One COMPONENT_RELATION that applies to a component. Numbers are -1 when absent. */
typedef struct RelationInfo {
  char16_t* id;
  uint8_t isInverse;
  uint8_t isConditioned;
  uint8_t componentConditioned; /* some component of the relation is conditioned */
  uint8_t minimumConditioned;
  uint8_t maximumConditioned;
  char16_t* addressing; /* the ADDRESSING refs joined by ";", "" when none */
  int32_t minimumNumber;
  int32_t maximumNumber;
  RelationComponent* components;
  struct RelationInfo* next;
} RelationInfo;

/* The relations of type `type` (ZARN_RELATION_*) that apply to the catalog element
 * at `path`: its own and those of every ancestor, inner first; each chain lists
 * its records in the reverse of reading order. Returns 0 with the chain in
 * *relations; ZARN_E_NO_RELATION (and *relations = NULL) when none applies, also
 * for an unknown type or a path that addresses nothing; ZARN_E_NO_CATALOG.
 * Release with ZARN_FreeRelations. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetRelations(int32_t type, const char16_t* path, RelationInfo** relations);

/* Releases a chain of ZARN_GetRelations with everything it owns. NULL is accepted.
 * Always 0. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_FreeRelations(RelationInfo* relations);

/* ---- Deletion, replacement, import lists and relation queries ------------ */

/* Deletes catalog elements with everything that hangs on them (catalog-folder
 * references, hardware-configuration partners, inverse parent relations,
 * identification keys, file-area directories). `target` is a ";"-separated list of
 * component paths, or an existing component XML file whose components are looked
 * up in the catalog. A component path may name a component, a component folder, a
 * manufacturer (everything below goes) or a catalog folder (the components it
 * refers to go too). Entries are handled in order and the catalog is saved after
 * each, so a failure leaves earlier entries deleted. On 0, *deleted receives the
 * deleted component paths and *referencing the remaining components whose relations
 * refer to a deleted one, each ";"-joined as VT_BSTR. Returns ZARN_E_NOT_FOUND (no
 * entry, or an entry names nothing), ZARN_E_NOT_DELETABLE (the root element, a
 * section, a PROTOCOL or a CLASSIFICATION), ZARN_E_CANNOT_WRITE, ZARN_E_NO_CATALOG,
 * or ZARN_E_CANNOT_DELETE: the elements are deleted and the catalog saved (*deleted
 * and *referencing are given as on 0), but files of a deleted element's directory
 * could not be removed; the trace names the directory. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_DeleteComponent(const char16_t* target, VARIANT* deleted, VARIANT* referencing);

/* Filled by ZARN_GetCatalogRelationInfo in memory the caller supplies. */
typedef struct CatalogRelationInfo {
  const char16_t* relationId; /* the caller's relation id argument (same pointer); NULL when nothing matched */
  int32_t relationKind;       /* 2 for a CHILD_COMPONENT relation, 1 for any other type */
  int32_t reserved;           /* always 0 */
} CatalogRelationInfo;

/* Whether the relation `relation_id` of the catalog element at `component_path`
 * refers to `referenced_path` (compared ignoring ASCII case), and of which kind it
 * is. With a match *info is filled; without one info->relationId becomes NULL and
 * the other fields stay. Returns 0 (also without a match), ZARN_E_NO_RELATION when
 * the relation has no references, ZARN_E_NO_CATALOG (*info untouched). */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetCatalogRelationInfo(const char16_t* relation_id, const char16_t* component_path,
                                                           const char16_t* referenced_path, CatalogRelationInfo* info);

/* Whether a component of the component XML file `source_path` is in the catalog.
 * On 0 the catalog's DD_REVISION and DEVICE_REVISION texts of the first such
 * component are written as VT_BSTR, and, when a component of the file names its
 * source, its DD and device revisions as "0x%04x" (a text whose "x" is the second
 * character is read as hexadecimal, any other as decimal). Returns
 * ZARN_E_NOT_IN_CATALOG when none is there, ZARN_E_NO_VERSION when the path is
 * not a readable regular file, ZARN_E_NO_CATALOG; the VARIANTs are then untouched. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_IsComponentExistent(const char16_t* source_path, VARIANT* catalog_dd_revision,
                                                        VARIANT* file_dd_revision, VARIANT* catalog_device_revision,
                                                        VARIANT* file_device_revision);

/* The components whose own or ancestors' CHILD_COMPONENT relation names
 * `component_path` or one of its ancestor paths, as ";"-joined component paths in
 * *paths (VT_BSTR, written only on success). Returns ZARN_E_NOT_FOUND when the path
 * addresses no element with element children, ZARN_E_NOT_REFERENCED when nothing
 * refers to it, ZARN_E_NO_CATALOG. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetReferencingComponents(const char16_t* component_path, VARIANT* paths);

/* Brings a component up to date from the component XML file `source_path` (as for
 * ZARN_ImportComponent). A component of the file that is not in the catalog is
 * imported (mode 0) and the import's result returned (0 on success). A present one
 * is deleted as by ZARN_DeleteComponent (which fills *deleted and *referencing) and
 * imported again: ZARN_S_REPLACED on success, else the deletion's or the import's
 * failure (a failed import leaves the old component deleted). A present component
 * whose catalog DD revision is set while the file's is empty is left untouched with
 * ZARN_E_OTHER_DD_REVISION. ZARN_E_REPLACE_PREPARE when the replacement cannot be
 * prepared. *log_paths as for ZARN_ImportComponent. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_ReplaceComponent(const char16_t* source_path, VARIANT* deleted,
                                                     VARIANT* referencing, LogPathEntry** log_paths);

/* Converts the source `source` (a file, or every source a directory lists) and
 * writes one component line per component found into *list as VT_BSTR, lines
 * joined by ";". A line is the component's hierarchy pairs name:"value" (in the
 * reverse of the chain of ZARN_GetComponents) joined by ",", followed by
 * ,Label:"..",Help:"..". Each line's component XML file is remembered in a list
 * file in the working directory for ZARN_ImportComponentList. Returns
 * ZARN_E_NO_RECORDS for a NULL source or one that is neither file nor directory,
 * the listing's failure, ZARN_E_LIST_FILE when the list file cannot be written,
 * ZARN_E_NO_CATALOG. */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetImportComponentList(const char16_t* source, VARIANT* list);

/* Imports, with ZARN_ReplaceComponent, the components that `selection` (a VT_BSTR
 * of component lines joined by ";"; a ";" inside double quotes does not split)
 * names in the list file of `source`; each file once. Lines not in the list file
 * are traced and skipped. An empty selection (VT_EMPTY or "") imports the first
 * component of the source file, or of every source of the directory. Returns the
 * last failure of the imports, else the last import's result (0 or
 * ZARN_S_REPLACED); ZARN_E_NO_RECORDS for a NULL or unreadable source;
 * ZARN_E_LIST_FILE when the list file is missing, unreadable or damaged;
 * ZARN_E_NO_CATALOG (with a selection). */
ZARN_EXPORT uint32_t ZARN_CALL ZARN_ImportComponentList(const char16_t* source, VARIANT selection);

ZARN_END_DECLS

#endif /* ZARN_CATALOG_MANAGER_H_ */
