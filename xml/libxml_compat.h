// Differences between the libxml2 versions we build against (2.9 and 2.12+).
// Included only by xml/ sources, after the libxml2 headers.
#ifndef ZARN_XML_LIBXML_COMPAT_H_
#define ZARN_XML_LIBXML_COMPAT_H_

#include <libxml/xmlerror.h>
#include <libxml/xmlversion.h>

namespace zarn::xml {

// The error argument of a structured error handler: const from 2.12 on.
#if LIBXML_VERSION >= 21200
using XmlErrorArg = const xmlError*;
#else
using XmlErrorArg = xmlErrorPtr;
#endif

}  // namespace zarn::xml

#endif  // ZARN_XML_LIBXML_COMPAT_H_
