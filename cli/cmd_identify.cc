// zarn-catalog identify FILE: the identification attributes of a device-description
// source, found the way an import finds them (preprocessing, then a scan).
#include <cstdio>
#include <memory>
#include <string>

#include "catalog/catalog_format.h"
#include "cli/command.h"
#include "conversion/source_identifier.h"
#include "conversion/unaccepted_input.h"
#include "platform/paths.h"
#include "xml/document.h"
#include "xml/xpath.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

std::string DeviceConfigurationFile(const Invocation& in) {
  return JoinPath(JoinPath(in.workdir, format::kCatalogDirectoryName), format::kDeviceConfigurationRelativePath);
}

void PrintText(const std::string& file, const SourceIdentity& id, uint32_t result) {
  std::printf("file:            %s\n", file.c_str());
  std::printf("manufacturer:    %s\n", id.manufacturer.c_str());
  std::printf("device type:     %s\n", id.deviceType.c_str());
  std::printf("device revision: %s\n", id.deviceRevision.c_str());
  std::printf("DD revision:     %s\n", id.ddRevision.c_str());
  std::printf("result:          %s\n", DescribeResult(result).c_str());
}

void PrintJson(const std::string& file, const SourceIdentity& id, uint32_t result) {
  std::printf(
      "{\"file\": %s, \"manufacturer\": %s, \"deviceType\": %s, \"deviceRevision\": %s, "
      "\"ddRevision\": %s, \"result\": %s}\n",
      JsonString(file).c_str(), JsonString(id.manufacturer).c_str(), JsonString(id.deviceType).c_str(),
      JsonString(id.deviceRevision).c_str(), JsonString(id.ddRevision).c_str(),
      JsonString(DescribeResult(result)).c_str());
}

// A GSD, IODD or other plug-in format identifies itself in the component XML its
// conversion gives: the first component's identification.
uint32_t IdentifyConverted(const Invocation& in, const std::string& file, SourceIdentity* id) {
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return rc;
  uint32_t rc = 0;
  const std::string component_xml = U(ConvertedComponentXml(file, &rc).c_str());
  if (rc != 0) return rc;
  std::unique_ptr<xml::Document> doc = xml::Document::LoadFile(component_xml, nullptr);
  const xml::Node own = doc ? xml::SelectFirst(doc->Root(), "//SOURCE_IDENTIFICATION", nullptr) : xml::Node();
  if (!own) return ZARN_RESULT_MINUS_ONE;  // a format that carries no identification
  id->manufacturer = own.Attribute("manufacturer").value_or("");
  id->deviceType = own.Attribute("deviceType").value_or("");
  id->deviceRevision = own.Attribute("deviceRevision").value_or("");
  id->ddRevision = own.Attribute("ddRevision").value_or("");
  return 0;
}

int RunIdentify(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "error: identify takes one source file (see zarn-catalog identify --help)\n");
    return 2;
  }
  const std::string file = NormalisePath(in.args[0]);
  SourceIdentity id;
  uint32_t result = 0;
  if (IsDeviceDescriptionSource(file)) {
    const SourceIdentifier identifier(DeviceConfigurationFile(in));
    result = static_cast<uint32_t>(identifier.IdentifySource(file, &id.manufacturer, &id.deviceType, &id.deviceRevision,
                                                             &id.ddRevision, in.Option("include"),
                                                             in.HasOption("translate")));
  } else {
    result = IdentifyConverted(in, file, &id);
    if (result != 0 && result != ZARN_RESULT_MINUS_ONE) return ReportFailure("ZARN_GetComponents", result);
  }
  if (in.json)
    PrintJson(file, id, result);
  else
    PrintText(file, id, result);
  return result == 0 ? 0 : 1;
}

}  // namespace

ZARN_CLI_COMMAND(identify, "identify", "Sources", "print manufacturer, device type and revisions of a source",
                 "FILE [--include DIRS] [--translate]\n\n"
                 "  FILE           a device-description source (.ddl, .edd or .mdd), found without\n"
                 "                 compiling; or a file a converter plug-in reads (GSD, IODD), as its\n"
                 "                 conversion identifies it\n"
                 "  --include DIRS further \";\"-separated include directories (each with its ancestors)\n"
                 "  --translate    translate a DEVICE_TYPE name through the catalog's Device/HV__DEV01.cfg",
                 RunIdentify, {"translate"}, {"include"});

}  // namespace zarn::cli
