// Writing the export-html site: index.html with the folding tree and the search,
// search.js with the search index, one page per component under c/, the
// components' files under f/<n>/, and the style sheet and scripts.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/command.h"
#include "cli/html_site.h"

namespace zarn::cli {
namespace {

namespace fs = std::filesystem;

const char* const kHead =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";

std::string FileName(const std::string& path) { return fs::path(path).filename().string(); }

bool Write(const fs::path& file, const std::string& text, std::string* error) {
  std::ofstream out(file, std::ios::binary);
  out << text;
  out.close();
  if (out) return true;
  *error = "cannot write " + file.string();
  return false;
}

// The texts of one kind, each in a span of its language; the page script shows one.
std::string Texts(const std::vector<SiteText>& texts) {
  std::string out;
  for (const SiteText& t : texts) {
    out += "<span class=\"t\" data-lang=\"" + HtmlEscape(t.lang) + "\">" + HtmlEscape(t.text) + "</span>";
  }
  return out;
}

std::string ComponentLink(const Site& site, const std::string& path, const std::string& prefix) {
  const auto it = site.by_path.find(path);
  if (it == site.by_path.end()) return HtmlEscape(path);
  const SiteComponent& c = site.components[it->second];
  return "<a href=\"" + prefix + ComponentPage(it->second) + "\">" + HtmlEscape(c.Label()) + "</a> <code>" +
         HtmlEscape(path) + "</code>";
}

void TreeHtml(const Site& site, const std::vector<SiteNode>& nodes, std::ostringstream& out) {
  out << "<ul>";
  for (const SiteNode& n : nodes) {
    out << "<li>";
    const std::string label = HtmlEscape(n.label);
    const std::string link =
        n.component < 0 ? label
                        : "<a class=\"component\" href=\"" + ComponentPage(n.component) + "\">" + label + "</a>";
    if (n.children.empty()) {
      out << link;
    } else {
      out << "<details" << (n.component < 0 ? " open" : "") << "><summary>" << link << "</summary>";
      TreeHtml(site, n.children, out);
      out << "</details>";
    }
    out << "</li>";
  }
  out << "</ul>";
}

std::string LanguageChoice(const Site& site, const std::string& language) {
  std::string out = "<select id=\"lang\" aria-label=\"language\">";
  for (const std::string& l : site.languages) {
    const std::string code = l.empty() ? "en" : l;
    out += "<option value=\"" + HtmlEscape(l) + "\"" + (code == language ? " selected" : "") + ">" + HtmlEscape(code) +
           "</option>";
  }
  return out + "</select>";
}

std::string IndexPage(const Site& site) {
  std::ostringstream out;
  out << kHead << "<title>Device catalog</title><link rel=\"stylesheet\" href=\"site.css\"></head><body>\n"
      << "<h1>Device catalog</h1><p>" << site.components.size() << " components</p>\n"
      << "<input id=\"search\" type=\"search\" placeholder=\"Search labels, ids, order numbers, identification\""
      << " autocomplete=\"off\"><ol id=\"results\"></ol>\n<nav id=\"tree\">";
  TreeHtml(site, site.roots, out);
  out << "</nav>\n<script src=\"search.js\"></script><script src=\"index.js\"></script></body></html>\n";
  return out.str();
}

// One entry of the search index: page, label, id, and the searched text.
std::string SearchIndex(const Site& site) {
  std::ostringstream out;
  out << "window.ZARN_SEARCH = [\n";
  for (size_t i = 0; i < site.components.size(); ++i) {
    const SiteComponent& c = site.components[i];
    std::string keys = c.id + " " + c.Attribute("ORDER_NUMBER");
    for (const char* name : {"MANUFACTURER", "DEVICE_TYPE", "DEVICE_REVISION", "DD_REVISION"}) {
      keys += " " + c.Attribute(name);
    }
    for (const SiteText& t : c.labels) keys += " " + t.text;
    out << "[" << JsonString(ComponentPage(static_cast<int>(i))) << "," << JsonString(c.Label()) << ","
        << JsonString(c.path) << "," << JsonString(keys) << "],\n";
  }
  out << "];\n";
  return out.str();
}

std::string AttributeTable(const SiteComponent& c) {
  std::string out = "<table class=\"attributes\">";
  for (const auto& [name, value] : c.attributes) {
    if (name == "LABEL" || name == "HELP") continue;
    out += "<tr><th>" + HtmlEscape(name) + "</th><td>" + HtmlEscape(value) + "</td></tr>";
  }
  return out + "</table>";
}

std::string OfferList(const Site& site, const SiteComponent& c) {
  if (c.offers.empty()) return std::string();
  std::string out =
      "<h2>Modules that fit</h2><table id=\"modules\"><tr><th>module</th><th>number</th><th>slots</th></tr>";
  for (const SiteOffer& o : c.offers) {
    std::string ranges;
    for (const std::string& r : o.ranges) ranges += (ranges.empty() ? "" : ", ") + r;
    const std::string what = o.folder ? "every component below <code>" + HtmlEscape(o.path) + "</code> (" +
                                            std::to_string(o.components) + ")"
                                      : ComponentLink(site, o.path, "../");
    out += "<tr class=\"module\"><td>" + what + "</td><td>" + std::to_string(o.minimum) + ".." +
           std::to_string(o.maximum) + "</td><td>" + HtmlEscape(ranges) + "</td></tr>";
  }
  return out + "</table>";
}

std::string ComponentHtml(const Site& site, int index, const std::string& language) {
  const SiteComponent& c = site.components[index];
  std::ostringstream out;
  out << kHead << "<title>" << HtmlEscape(c.Label()) << "</title><link rel=\"stylesheet\" href=\"../site.css\">"
      << "</head><body data-default-lang=\"" << HtmlEscape(language) << "\">\n<p><a href=\"../index.html\">Catalog</a>"
      << " " << LanguageChoice(site, language) << "</p>\n<h1 id=\"label\">" << Texts(c.labels) << "</h1>\n<p><code>"
      << HtmlEscape(c.path) << "</code></p>\n";
  if (!c.helps.empty()) out << "<p id=\"help\">" << Texts(c.helps) << "</p>\n";
  if (!c.image.empty()) {
    out << "<img id=\"picture\" alt=\"picture\" src=\"../f/" << index << "/" << HtmlEscape(FileName(c.image))
        << "\">\n";
  }
  out << "<h2>Identification and attributes</h2>" << AttributeTable(c) << "\n";
  if (!c.files.empty()) {
    out << "<h2>Files</h2><ul id=\"files\">";
    for (const std::string& f : c.files) {
      const std::string name = HtmlEscape(FileName(f));
      out << "<li><a href=\"../f/" << index << "/" << name << "\">" << name << "</a></li>";
    }
    out << "</ul>\n";
  }
  out << OfferList(site, c);
  if (!c.fits.empty()) {
    out << "<h2>Fits</h2><ul id=\"fits\">";
    for (const std::string& s : c.fits) out << "<li>" << ComponentLink(site, s, "../") << "</li>";
    out << "</ul>\n";
  }
  out << "<script src=\"../page.js\"></script></body></html>\n";
  return out.str();
}

bool CopyFiles(const SiteComponent& c, const fs::path& into, std::string* error) {
  std::error_code ec;
  bool created = false;
  for (const std::string& f : c.files) {
    if (!fs::exists(f, ec)) continue;  // nothing to copy: the catalog lacks the file
    if (!created) created = fs::create_directories(into, ec) || fs::is_directory(into, ec);
    fs::copy_file(f, into / FileName(f), fs::copy_options::overwrite_existing, ec);
    if (ec) {
      *error = "cannot copy " + f + ": " + ec.message();
      return false;
    }
  }
  return true;
}

}  // namespace

std::string ComponentPage(int index) { return "c/" + std::to_string(index) + ".html"; }

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    switch (ch) {
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
      case '\'':
        out += "&#39;";
        break;
      default:
        out += ch;
    }
  }
  return out;
}

bool WriteSite(const Site& site, const std::string& out, const std::string& language, std::string* error) {
  const fs::path top(out);
  std::error_code ec;
  fs::create_directories(top / "c", ec);
  if (ec) {
    *error = "cannot create " + (top / "c").string() + ": " + ec.message();
    return false;
  }
  if (!Write(top / "index.html", IndexPage(site), error) || !Write(top / "search.js", SearchIndex(site), error) ||
      !Write(top / "site.css", kSiteStyle, error) || !Write(top / "index.js", kIndexScript, error) ||
      !Write(top / "page.js", kPageScript, error)) {
    return false;
  }
  for (size_t i = 0; i < site.components.size(); ++i) {
    const int index = static_cast<int>(i);
    if (!Write(top / ComponentPage(index), ComponentHtml(site, index, language), error)) return false;
    if (!CopyFiles(site.components[i], top / "f" / std::to_string(i), error)) return false;
  }
  return true;
}

}  // namespace zarn::cli
