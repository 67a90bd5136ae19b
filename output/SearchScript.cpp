#include "output/SearchScript.h"

namespace SearchScript {

// It reads window.QUORVEL_SEARCH (busca-indice.js): units [name, page] and
// entries [name, unit, anchor, kind, first line of help]. Names match
// before texts, prefixes before substrings; "/" focuses the box, the arrows
// and Enter pick a result; on busca.html the results of ?q= are listed.
QByteArray source()
{
    return QByteArrayLiteral(R"JS("use strict";
(function () {
  var data = window.QUORVEL_SEARCH || { units: [], entries: [] };
  // Names and texts lower-cased, each joined into one string, so that the
  // browser's own string search finds the matches; `starts` maps a place
  // back to its entry.
  var names = null, texts = null, nameStarts = null, textStarts = null;
  function joined(field) {
    var starts = new Int32Array(data.entries.length + 1);
    var parts = [];
    var at = 0;
    data.entries.forEach(function (e, i) {
      var part = e[field].toLowerCase().replace(/\n/g, " ");
      starts[i] = at;
      parts.push(part);
      at += part.length + 1;
    });
    starts[data.entries.length] = at;
    return [parts.join("\n"), starts];
  }
  function prepare() {
    if (names !== null) return;
    var n = joined(0), t = joined(4);
    names = n[0]; nameStarts = n[1]; texts = t[0]; textStarts = t[1];
  }
  function entryAt(starts, place) {
    var low = 0, high = starts.length - 2;
    while (low < high) {
      var middle = (low + high + 1) >> 1;
      if (starts[middle] <= place) low = middle; else high = middle - 1;
    }
    return low;
  }
  function search(query, limit) {
    prepare();
    var q = query.trim().toLowerCase().replace(/\n/g, " ");
    if (!q) return [];
    var prefix = [], inside = [], inText = [];
    var seen = new Uint8Array(data.entries.length);
    for (var at = names.indexOf(q); at >= 0 && prefix.length < limit; ) {
      var i = entryAt(nameStarts, at);
      (at === nameStarts[i] ? prefix : inside).push(i);
      seen[i] = 1;
      at = names.indexOf(q, nameStarts[i + 1]);
    }
    for (var at2 = texts.indexOf(q); at2 >= 0 && inText.length < limit; ) {
      var j = entryAt(textStarts, at2);
      if (!seen[j]) inText.push(j);
      at2 = texts.indexOf(q, textStarts[j + 1]);
    }
    var byName = function (a, b) {
      var x = data.entries[a][0].toLowerCase(), y = data.entries[b][0].toLowerCase();
      return x < y ? -1 : x > y ? 1 : 0;
    };
    var hits = [];
    [prefix, inside, inText].forEach(function (bucket) {
      if (hits.length >= limit) return;
      bucket.sort(byName);
      hits = hits.concat(bucket.slice(0, limit - hits.length));
    });
    return hits.map(function (i) {
      var e = data.entries[i];
      var unit = data.units[e[1]];
      return { name: e[0], unit: unit[0], href: unit[1] + "#" + encodeURIComponent(e[2]), kind: e[3], text: e[4] };
    });
  }
  window.quorvelSearch = search;

  function text(tag, content, cls) {
    var node = document.createElement(tag);
    node.textContent = content;
    if (cls) node.className = cls;
    return node;
  }
  function setUp(input) {
    var list = document.createElement("ul");
    list.id = input.id + "-resultados";
    list.className = "results";
    list.setAttribute("role", "listbox");
    list.setAttribute("aria-label", "Resultados da busca");
    list.hidden = true;
    input.parentNode.appendChild(list);
    input.setAttribute("role", "combobox");
    input.setAttribute("aria-autocomplete", "list");
    input.setAttribute("aria-controls", list.id);
    input.setAttribute("aria-expanded", "false");
    var hits = [];
    var active = -1;
    function show() {
      list.textContent = "";
      hits = search(input.value, 20);
      active = hits.length ? 0 : -1;
      hits.forEach(function (hit, n) {
        var item = document.createElement("li");
        item.id = list.id + "-" + n;
        item.setAttribute("role", "option");
        item.appendChild(text("span", hit.name));
        item.appendChild(text("span", hit.kind + " · " + hit.unit, "unit"));
        item.addEventListener("mousedown", function (event) { event.preventDefault(); go(n); });
        list.appendChild(item);
      });
      list.hidden = hits.length === 0;
      input.setAttribute("aria-expanded", hits.length ? "true" : "false");
      mark();
    }
    function mark() {
      Array.prototype.forEach.call(list.children, function (item, n) {
        item.setAttribute("aria-selected", n === active ? "true" : "false");
      });
      if (active >= 0) {
        input.setAttribute("aria-activedescendant", list.id + "-" + active);
        list.children[active].scrollIntoView({ block: "nearest" });
      } else {
        input.removeAttribute("aria-activedescendant");
      }
    }
    function go(n) { if (hits[n]) window.location.href = hits[n].href; }
    input.addEventListener("input", show);
    input.addEventListener("keydown", function (event) {
      if (event.key === "ArrowDown" && hits.length) { active = (active + 1) % hits.length; mark(); event.preventDefault(); }
      else if (event.key === "ArrowUp" && hits.length) { active = (active + hits.length - 1) % hits.length; mark(); event.preventDefault(); }
      else if (event.key === "Enter" && active >= 0) { go(active); event.preventDefault(); }
      else if (event.key === "Escape") { list.hidden = true; input.setAttribute("aria-expanded", "false"); }
    });
    input.addEventListener("blur", function () { list.hidden = true; input.setAttribute("aria-expanded", "false"); });
  }
  function listOnSearchPage(query) {
    var place = document.getElementById("resultados");
    if (!place || !query) return;
    place.textContent = "";
    var found = search(query, 200);
    place.appendChild(text("p", found.length ? found.length + " resultado(s) para \u201c" + query + "\u201d:" : "Nada encontrado para \u201c" + query + "\u201d."));
    var ul = document.createElement("ul");
    found.forEach(function (hit) {
      var li = document.createElement("li");
      var a = text("a", hit.name);
      a.href = hit.href;
      li.appendChild(a);
      li.appendChild(text("span", hit.kind + " · " + hit.unit, "unit"));
      if (hit.text) li.appendChild(text("div", hit.text, "summary"));
      ul.appendChild(li);
    });
    place.appendChild(ul);
  }
  document.addEventListener("DOMContentLoaded", function () {
    var input = document.getElementById("busca");
    if (!input) return;
    setUp(input);
    prepare(); // ready before the first key, not on it
    var query = new URLSearchParams(window.location.search).get("q");
    if (query) { input.value = query; listOnSearchPage(query); }
    document.addEventListener("keydown", function (event) {
      var target = event.target;
      var typing = target && (target.tagName === "INPUT" || target.tagName === "TEXTAREA" || target.isContentEditable);
      if (event.key === "/" && !typing) { input.focus(); event.preventDefault(); }
    });
  });
})();
)JS");
}

} // namespace SearchScript
