// zarn-catalog identify FILE: the identification attributes of a device-description
// source, found the way an import finds them (preprocessing, then a scan).
#include <cstdio>
#include <string>

#include "catalog/catalog_format.h"
#include "cli/command.h"
#include "conversion/source_identifier.h"
#include "platform/paths.h"

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
  std::printf("{\"file\": %s, \"manufacturer\": %s, \"deviceType\": %s, \"deviceRevision\": %s, "
              "\"ddRevision\": %s, \"result\": %s}\n",
              JsonString(file).c_str(), JsonString(id.manufacturer).c_str(), JsonString(id.deviceType).c_str(),
              JsonString(id.deviceRevision).c_str(), JsonString(id.ddRevision).c_str(),
              JsonString(DescribeResult(result)).c_str());
}

int RunIdentify(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "error: identify takes one source file (see zarn-catalog identify --help)\n");
    return 2;
  }
  const std::string file = NormalisePath(in.args[0]);
  const SourceIdentifier identifier(DeviceConfigurationFile(in));
  SourceIdentity id;
  const auto result = static_cast<uint32_t>(identifier.IdentifySource(
      file, &id.manufacturer, &id.deviceType, &id.deviceRevision, &id.ddRevision, in.Option("include"),
      in.HasOption("translate")));
  if (in.json) PrintJson(file, id, result);
  else PrintText(file, id, result);
  return result == 0 ? 0 : 1;
}

}  // namespace

ZARN_CLI_COMMAND(identify, "identify", "Sources",
                 "print manufacturer, device type and revisions of a .ddl/.mdd source",
                 "FILE [--include DIRS] [--translate]\n\n"
                 "  FILE           a device-description source (.ddl or .mdd)\n"
                 "  --include DIRS further \";\"-separated include directories (each with its ancestors)\n"
                 "  --translate    translate a DEVICE_TYPE name through the catalog's Device/HV__DEV01.cfg",
                 RunIdentify, {"translate"}, {"include"});

}  // namespace zarn::cli
