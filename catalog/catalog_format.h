// The vocabulary of the catalog document and of the files beside it.
#ifndef ZARN_CATALOG_CATALOG_FORMAT_H_
#define ZARN_CATALOG_CATALOG_FORMAT_H_

#include <string_view>

namespace zarn::format {

// Files and directories.
inline constexpr std::string_view kCatalogDirectoryName = "zarn_catalog";
inline constexpr std::string_view kCatalogFileName = "zarn_catalog_content.xml";
inline constexpr std::string_view kCatalogDataDirectoryName = "catalogData";
inline constexpr std::string_view kStylesheetFileName = "zarnxml_2_componentxml.xslt";
inline constexpr std::string_view kManufacturerListFileName = "devices.cfg";
inline constexpr std::string_view kManufacturerNamesFileName = "manufacturer_names.cfg";
inline constexpr std::string_view kDeviceConfigurationRelativePath = "Device/HV__DEV01.cfg";
inline constexpr std::string_view kDeviceFileAreaName = "DEVICE";
inline constexpr std::string_view kWriteProbeDirectoryName = "123ZARN_TEST_CATALOG123";
inline constexpr std::string_view kTemporaryDirectoryPattern = "zarnCatalog$$%d";

// Elements of the placeable tree.
inline constexpr std::string_view kRootElement = "ZARN_CATALOG";
inline constexpr std::string_view kSection = "section";
inline constexpr std::string_view kProtocol = "PROTOCOL";
inline constexpr std::string_view kClassification = "CLASSIFICATION";
inline constexpr std::string_view kManufacturer = "MANUFACTURER";
inline constexpr std::string_view kComponentFolder = "COMPONENT_FOLDER";
inline constexpr std::string_view kComponent = "COMPONENT";
inline constexpr std::string_view kCatalogFolder = "CATALOG_FOLDER";
inline constexpr std::string_view kPiLibrary = "PI-LIBRARY";

// Section names.
inline constexpr std::string_view kSectionDevice = "DEVICE";
inline constexpr std::string_view kSectionNet = "NET";
inline constexpr std::string_view kSectionNode = "NODE";
inline constexpr std::string_view kSectionSystem = "SYSTEM";

// Attributes of placeable elements.
inline constexpr std::string_view kId = "id";
inline constexpr std::string_view kIdTmp = "idTmp";
inline constexpr std::string_view kIsArtificial = "isArtificial";
inline constexpr std::string_view kVirtual = "virtual";
inline constexpr std::string_view kIsInvisible = "isInvisible";
inline constexpr std::string_view kDdRevisionAttribute = "ddRevision";
inline constexpr std::string_view kFsPath = "fsPath";
inline constexpr std::string_view kUpdateThisComponent = "UpdateThisComponent";
inline constexpr std::string_view kTrue = "true";

// Content of components.
inline constexpr std::string_view kDeviceType = "DEVICE_TYPE";
inline constexpr std::string_view kDeviceRevision = "DEVICE_REVISION";
inline constexpr std::string_view kDdRevision = "DD_REVISION";
inline constexpr std::string_view kAdditionalIdentification = "additionalIdentification";
inline constexpr std::string_view kIdentNumbers = "identNumbers";
inline constexpr std::string_view kComponentId = "componentID";
inline constexpr std::string_view kComponentZarn = "componentZARN";
inline constexpr std::string_view kAdditionalZarns = "ADDITIONAL_ZARNS";
inline constexpr std::string_view kLabel = "LABEL";
inline constexpr std::string_view kHelp = "HELP";
inline constexpr std::string_view kString = "string";
inline constexpr std::string_view kLang = "lang";
inline constexpr std::string_view kComponentRelations = "COMPONENT_RELATIONS";
inline constexpr std::string_view kComponentRelation = "COMPONENT_RELATION";
inline constexpr std::string_view kInitialValues = "INITIAL_VALUES";
inline constexpr std::string_view kPurposeMapping = "PURPOSE_MAPPING";
inline constexpr std::string_view kComponentRef = "component_ref";
inline constexpr std::string_view kComponentFolderRef = "component_folder_ref";
inline constexpr std::string_view kHwcnRackSuffix = "__hwcn_rack";
inline constexpr std::string_view kHwcnDeviceSuffix = "__hwcn_device";

// Children that only steer placement and are never copied into the catalog.
inline constexpr std::string_view kPlacementElements[] = {
    "CATALOG_PARENT", "CATALOG_PATH",     "HWCN_Device",      "HWCN_Rack",      "HWCN_DeviceItem", "PROTOCOL",
    "CLASSIFICATION", "MANUFACTURER_EXT", "COMPONENT_PARENT", "COMPONENT_PATH", "section"};

// Children that may occur more than once below one element.
inline constexpr std::string_view kRepeatableElements[] = {
    "component",   "initial_value",  "string",        "COMPONENT_RELATION",      "variable_ref",
    "unknown_ref", "required_range", "component_ref", "additionalIdentification"};

// Elements whose values are file names relative to the component's directory.
inline constexpr std::string_view kFileReferenceElements[] = {
    "ZARN",          "DICTIONARY",    "BUILTIN_LIBRARY",    "GSD",
    "DEVICE_MANUAL", "DETECT_ZARN",   "PARENT_DETECT_ZARN", "SEARCH_PATH",
    "IMAGE",         "componentZARN", "HWCN_DeviceItem"};

// Elements whose value is their `name` attribute.
inline constexpr std::string_view kNameAttributeElements[] = {"COMPONENT_PATH", "CLASSIFICATION", "MANUFACTURER",
                                                              "MANUFACTURER_EXT", "PROTOCOL"};

// Longest file path (exclusive) accepted for resolved file references and copies.
inline constexpr size_t kMaxPath = 260;

}  // namespace zarn::format

#endif  // ZARN_CATALOG_CATALOG_FORMAT_H_
