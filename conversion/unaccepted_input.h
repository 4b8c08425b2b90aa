// Input that neither a converter plug-in nor the compiler reads: a GSD language
// variant given alone, a zip package without an IODD, device descriptions of formats
// no plug-in converts. Such a file gets one message saying what it is and why it is
// not accepted, instead of the compiler's errors about text that was never EDDL.
#ifndef ZARN_CONVERSION_UNACCEPTED_INPUT_H_
#define ZARN_CONVERSION_UNACCEPTED_INPUT_H_

#include <string>

namespace zarn {

// A .ddl, .edd or .mdd file (ASCII case ignored): a source for the compiler.
bool IsDeviceDescriptionSource(const std::string& path);

// For a file that no converter plug-in accepted: "" when it is for the compiler (a
// .ddl, .edd or .mdd source, a device XML); otherwise what the file is and why it is
// not accepted, naming the file.
std::string UnacceptedInputReason(const std::string& path);

}  // namespace zarn

#endif  // ZARN_CONVERSION_UNACCEPTED_INPUT_H_
