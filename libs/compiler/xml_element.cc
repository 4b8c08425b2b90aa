#include "libs/compiler/xml_element.h"

#include <cstdint>

namespace zarnl {
namespace {

// Length of a valid UTF-8 sequence at s[i] encoding a character allowed in XML,
// or 0.
size_t AllowedSequence(std::string_view s, size_t i, uint32_t* cp) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n;
  if (c < 0x80) {
    *cp = c;
    n = 1;
  } else if ((c >> 5) == 0x6) {
    *cp = c & 0x1F;
    n = 2;
  } else if ((c >> 4) == 0xE) {
    *cp = c & 0x0F;
    n = 3;
  } else if ((c >> 3) == 0x1E) {
    *cp = c & 0x07;
    n = 4;
  } else
    return 0;
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    *cp = (*cp << 6) | (d & 0x3F);
  }
  static const uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (*cp < kMin[n] || *cp > 0x10FFFF || (*cp >= 0xD800 && *cp <= 0xDFFF)) return 0;
  return n;
}

bool AllowedInXml(uint32_t cp) {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp != 0xFFFE && cp != 0xFFFF);
}

}  // namespace

std::string XmlElement::Attribute(std::string_view key) const {
  for (const auto& [k, v] : attributes) {
    if (k == key) return v;
  }
  return std::string();
}

const XmlElement* XmlElement::Child(std::string_view child_name) const {
  for (const XmlElement& c : children) {
    if (c.name == child_name) return &c;
  }
  return nullptr;
}

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    const size_t n = AllowedSequence(text, i, &cp);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (AllowedInXml(cp)) {
      switch (text[i]) {
        case '&':
          out += "&amp;";
          break;
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '"':
          out += "&quot;";
          break;
        case '\r':
          out += "&#13;";
          break;
        default:
          out.append(text.substr(i, n));
      }
    }
    i += n;
  }
  return out;
}

void WriteXml(const XmlElement& e, int depth, std::string* out) {
  out->append(static_cast<size_t>(depth) * 2, ' ');
  *out += '<';
  *out += e.name;
  for (const auto& [key, value] : e.attributes) {
    *out += ' ';
    *out += key;
    *out += "=\"";
    *out += EscapeXml(value);
    *out += '"';
  }
  if (e.text.empty() && e.children.empty()) {
    *out += "/>\n";
    return;
  }
  *out += '>';
  *out += EscapeXml(e.text);
  if (!e.children.empty()) {
    *out += '\n';
    for (const XmlElement& child : e.children) WriteXml(child, depth + 1, out);
    out->append(static_cast<size_t>(depth) * 2, ' ');
  }
  *out += "</";
  *out += e.name;
  *out += ">\n";
}

std::string XmlDocument(const XmlElement& root) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  WriteXml(root, 0, &out);
  return out;
}

}  // namespace zarnl
