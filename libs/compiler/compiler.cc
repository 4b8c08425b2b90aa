#include "libs/compiler/compiler.h"

#include "libs/compiler/lexer.h"
#include "libs/compiler/parser.h"
#include "libs/compiler/source_file.h"
#include "libs/compiler/xml_element.h"
#include "platform/paths.h"

namespace zarnl {

std::vector<std::string> IncludeDirsFor(const std::string& source, const std::string& include_path,
                                        const DeviceConfiguration* configuration) {
  std::vector<std::string> dirs = SplitIncludePath(include_path);
  if (!dirs.empty()) return dirs;
  return IdentificationIncludeDirs(source,
                                   configuration != nullptr ? configuration->CatalogDirectory() : std::string());
}

PreprocessResult Preprocess(const std::string& source, const std::vector<std::string>& include_dirs) {
  PreprocessResult result;
  Preprocessor preprocessor(include_dirs, &result.diagnostics);
  const bool read = preprocessor.Run(source, &result.output);
  result.ok = read && !result.diagnostics.HasErrors();
  return result;
}

CompileResult Compile(const std::string& source, const std::vector<std::string>& include_dirs,
                      const DeviceConfiguration* configuration) {
  CompileResult result;
  PreprocessOutput preprocessed;
  Preprocessor preprocessor(include_dirs, &result.diagnostics);
  result.readable = preprocessor.Run(source, &preprocessed);
  if (!result.readable) return result;
  const TokenList tokens = Tokenize(preprocessed, &result.diagnostics);
  std::string definitions;
  Parser parser(tokens, preprocessed.files, configuration, &result.diagnostics);
  const XmlElement identification = parser.Parse(&definitions);
  XmlElement source_element("SOURCE");
  source_element.Set("name", zarn::FileNamePart(source)).Set("path", source);
  std::string& xml = result.device_xml;
  xml.reserve(definitions.size() + 1024);
  xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZARN_DEVICE formatVersion=\"1\" generator=\"zarnl\">\n";
  WriteXml(source_element, 1, &xml);
  WriteXml(identification, 1, &xml);
  xml += definitions;
  xml += "</ZARN_DEVICE>\n";
  result.ok = !result.diagnostics.HasErrors();
  return result;
}

}  // namespace zarnl
