// The style sheet and the two small scripts of the export-html site.
#include "cli/html_site.h"

namespace zarn::cli {

const char* const kSiteStyle = R"(body { font: 15px/1.4 sans-serif; margin: 1.5em; color: #222; }
nav ul, #results { list-style: none; padding-left: 1.2em; }
summary { cursor: pointer; }
a.component { font-weight: 600; }
#search { width: 30em; max-width: 100%; padding: .3em; font-size: 1em; }
#results li { margin: .2em 0; }
table { border-collapse: collapse; }
th, td { text-align: left; padding: .15em .6em; border-bottom: 1px solid #ddd; vertical-align: top; }
code { color: #555; }
#picture { max-width: 320px; max-height: 320px; display: block; margin: 1em 0; border: 1px solid #ccc; }
.t { display: none; }
.t.shown { display: inline; }
)";

// Search as you type; ?q=TEXT searches on load.
const char* const kIndexScript = R"((function () {
  var box = document.getElementById('search');
  var results = document.getElementById('results');
  var entries = window.ZARN_SEARCH || [];
  function run() {
    var words = box.value.toLowerCase().split(/\s+/).filter(function (w) { return w.length > 0; });
    results.textContent = '';
    if (words.length === 0) return;
    var shown = 0;
    for (var i = 0; i < entries.length && shown < 200; i++) {
      var e = entries[i];
      var text = (e[1] + ' ' + e[2] + ' ' + e[3]).toLowerCase();
      if (!words.every(function (w) { return text.indexOf(w) >= 0; })) continue;
      var li = document.createElement('li');
      var a = document.createElement('a');
      a.href = e[0];
      a.className = 'hit';
      a.textContent = e[1];
      li.appendChild(a);
      li.appendChild(document.createTextNode(' ' + e[2]));
      results.appendChild(li);
      shown++;
    }
  }
  box.addEventListener('input', run);
  var q = new URLSearchParams(window.location.search).get('q');
  if (q) { box.value = q; run(); }
})();
)";

// The language switch of a component page: each text shows in the chosen language,
// else in the default one.
const char* const kPageScript = R"((function () {
  var choice = document.getElementById('lang');
  function show(lang) {
    var groups = document.querySelectorAll('#label, #help');
    groups.forEach(function (g) {
      var texts = g.querySelectorAll('.t');
      var pick = null;
      texts.forEach(function (t) { t.classList.remove('shown'); if (t.dataset.lang === lang) pick = t; });
      if (!pick) texts.forEach(function (t) { if (!pick && t.dataset.lang === '') pick = t; });
      if (pick) pick.classList.add('shown');
    });
  }
  var lang = new URLSearchParams(window.location.search).get('lang');
  if (lang === null) lang = document.body.dataset.defaultLang === 'en' ? '' : document.body.dataset.defaultLang;
  if (choice) {
    choice.value = lang;
    choice.addEventListener('change', function () { show(choice.value); });
  }
  show(lang);
  // The picture marks the page when it has loaded (a check for tests and tools).
  var picture = document.getElementById('picture');
  function shown() { if (picture.naturalWidth > 0) document.body.dataset.picture = 'shown'; }
  if (picture) { if (picture.complete) shown(); else picture.addEventListener('load', shown); }
})();
)";

}  // namespace zarn::cli
