// zarn-catalog export-html: a static, browsable copy of the catalog. The model is
// gathered through the library's exports only, as a host would; the writer turns
// it into pages that open from the file system (no server, nothing fetched).
#ifndef ZARN_CLI_HTML_SITE_H_
#define ZARN_CLI_HTML_SITE_H_

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zarn::cli {

// A text in one language; lang "" is the default (also English).
struct SiteText {
  std::string lang;
  std::string text;
};

// A component a station's CHILD_COMPONENT relation offers, with its slot ranges.
struct SiteOffer {
  std::string path;
  std::string relation;
  int minimum = -1;
  int maximum = -1;
  std::vector<std::string> ranges;  // "SLOT 1..8"
  bool folder = false;              // path names a folder: every component below it fits
  int components = 1;               // components the offer stands for
};

struct SiteComponent {
  std::string path;
  std::string id;
  std::vector<SiteText> labels;  // default first
  std::vector<SiteText> helps;
  std::vector<std::pair<std::string, std::string>> attributes;  // name, value (default language)
  std::vector<std::string> files;                               // absolute paths of the files it names
  std::string image;                                            // absolute path of its picture, "" when none
  std::vector<SiteOffer> offers;                                // what its relations offer
  std::vector<std::string> fits;                                // paths of the stations whose relations offer it
  std::string Label() const { return labels.empty() ? id : labels.front().text; }
  std::string Attribute(const std::string& name) const;
};

struct SiteNode {
  std::string id;
  std::string label;
  std::string path;
  int component = -1;  // index into Site::components, -1 for a level or folder
  std::vector<SiteNode> children;
};

struct Site {
  std::vector<SiteNode> roots;
  std::vector<SiteComponent> components;
  std::map<std::string, int> by_path;  // component path -> index
  std::vector<std::string> languages;  // the languages some text is held in, default first ("")
};

// Reads the open catalog. `languages` are the language codes to look for texts in.
Site GatherSite(const std::vector<std::string>& languages);

// Writes the site into `out` (created). False with *error on a write failure.
bool WriteSite(const Site& site, const std::string& out, const std::string& language, std::string* error);

// The page of component `index`, relative to the site's top ("c/12.html").
std::string ComponentPage(int index);

// Text escaped for HTML element content and attribute values.
std::string HtmlEscape(std::string_view text);

// The static parts: style sheet and scripts.
extern const char* const kSiteStyle;
extern const char* const kIndexScript;
extern const char* const kPageScript;

}  // namespace zarn::cli

#endif  // ZARN_CLI_HTML_SITE_H_
