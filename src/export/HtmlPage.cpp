// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/HtmlPage.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

// What needs a look: the five markup characters, CR, and the lead byte of U+2000..U+2FFF, where the
// characters that reorder text lie.
constexpr std::string_view kSpecial = "&<>\"'\r\xE2";

// Bidirectional controls: U+200E, U+200F, U+202A..U+202E and U+2066..U+2069, by their UTF-8 bytes.
bool IsBidiControl(unsigned char second, unsigned char third) {
    if (second == 0x80) return third == 0x8E || third == 0x8F || (third >= 0xAA && third <= 0xAE);
    return second == 0x81 && third >= 0xA6 && third <= 0xA9;
}

const char* ReferenceOf(char c) {
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\'': return "&#39;";
    case '\r': return "&#13;";
    default: return nullptr;
    }
}

bool HasNonASCII(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

constexpr const char* kStyle = R"(<style>
body{font:14px/1.4 system-ui,sans-serif;margin:1.5em;color:#222;background:#fff}
h1{font-size:1.4em;margin:0 0 .2em}
p.made{margin:0 0 1em;color:#555}
input{font:inherit;padding:.3em;width:24em;max-width:100%;margin-bottom:.8em}
table{border-collapse:collapse}
th,td{border:1px solid #ccc;padding:.2em .5em;text-align:left;vertical-align:top}
th{background:#f3f3f3;position:sticky;top:0}
th button{font:inherit;font-weight:bold;background:none;border:0;padding:0;cursor:pointer}
th[aria-sort=ascending] button::after{content:" \25B2"}
th[aria-sort=descending] button::after{content:" \25BC"}
td.n{text-align:right;font-variant-numeric:tabular-nums}
tr[hidden]{display:none}
</style>
)";

// Sorting keeps equal rows in the order they stood, so a second click on another column sorts
// within the first. The filter looks at every cell of a row, apart.
constexpr const char* kScript = R"(<script>
(function () {
  var table = document.getElementById('files'), body = table.tBodies[0];
  var heads = table.tHead.rows[0].cells, rows = Array.prototype.slice.call(body.rows);
  var filter = document.getElementById('filter'), count = document.getElementById('count');
  var collator = new Intl.Collator(undefined, {numeric: true, sensitivity: 'base'});
  var column = -1, ascending = true, texts = null, pending = 0;
  function sortBy(c) {
    ascending = c === column ? !ascending : true;
    column = c;
    var numeric = heads[c].hasAttribute('data-numeric');
    var keyed = rows.map(function (row, i) {
      var text = row.cells[c].textContent;
      return {row: row, place: i, key: numeric ? Number(text) : text};
    });
    keyed.sort(function (a, b) {
      var order = numeric ? a.key - b.key : collator.compare(a.key, b.key);
      return (ascending ? order : -order) || a.place - b.place;
    });
    rows = keyed.map(function (k) { return k.row; });
    var fragment = document.createDocumentFragment();
    rows.forEach(function (row) { fragment.appendChild(row); });
    body.appendChild(fragment);
    for (var h = 0; h < heads.length; h++)
      heads[h].setAttribute('aria-sort', h === c ? (ascending ? 'ascending' : 'descending') : 'none');
  }
  function applyFilter() {
    if (!texts) {
      texts = new Map();
      rows.forEach(function (row) {
        var cells = Array.prototype.map.call(row.cells, function (cell) { return cell.textContent; });
        texts.set(row, cells.join('\n').toLocaleLowerCase());
      });
    }
    var wanted = filter.value.toLocaleLowerCase(), shown = 0;
    rows.forEach(function (row) {
      var hit = wanted === '' || texts.get(row).indexOf(wanted) >= 0;
      row.hidden = !hit;
      if (hit) shown++;
    });
    count.textContent = shown === rows.length ? '' : shown + ' of ' + rows.length + ' files shown';
  }
  Array.prototype.forEach.call(heads, function (head, c) {
    head.querySelector('button').addEventListener('click', function () { sortBy(c); });
  });
  filter.addEventListener('input', function () {
    clearTimeout(pending);
    pending = setTimeout(applyFilter, 150);
  });
})();
</script>
)";

void AppendHeaderRow(std::string& out) {
    out += "<thead><tr><th data-numeric><button type=\"button\">FileID</button></th>";
    for (const ListColumn& column : kListColumns) {
        out += column.Numeric ? "<th data-numeric><button type=\"button\">" : "<th><button type=\"button\">";
        out += column.Header;
        out += "</button></th>";
    }
    out += "</tr></thead>\n";
}

void AppendRow(std::string& out, const ExportRow& row) {
    out += "<tr><td class=\"n\">";
    out += std::to_string(row.FileID);
    out += "</td>";
    for (int column = 0; column < kListColumnCount; ++column) {
        const std::string& text = row.Texts[column];
        // A name in Hebrew or Arabic reads in its own direction, without turning its neighbours.
        if (kListColumns[column].Numeric) out += "<td class=\"n\">";
        else out += HasNonASCII(text) ? "<td dir=\"auto\">" : "<td>";
        AppendHTMLText(out, text);
        out += "</td>";
    }
    out += "</tr>\n";
}

}  // namespace

void AppendHTMLText(std::string& out, const std::string& text) {
    std::size_t done = 0;
    for (std::size_t at = text.find_first_of(kSpecial); at != std::string::npos; at = text.find_first_of(kSpecial, at + 1)) {
        if (const char* reference = ReferenceOf(text[at])) {
            out.append(text, done, at - done);
            out += reference;
            done = at + 1;
        } else if (at + 2 < text.size() && IsBidiControl(static_cast<unsigned char>(text[at + 1]),
                                                         static_cast<unsigned char>(text[at + 2]))) {
            const unsigned codePoint = 0x2000u | ((static_cast<unsigned char>(text[at + 1]) & 0x3Fu) << 6) |
                                       (static_cast<unsigned char>(text[at + 2]) & 0x3Fu);
            out.append(text, done, at - done);
            char number[12];
            std::snprintf(number, sizeof number, "&#x%X;", codePoint);
            out += number;
            done = at + 3;
            at += 2;
        }
    }
    out.append(text, done, std::string::npos);
}

std::string RenderHTMLPage(const ExportHeading& heading, const std::vector<ExportRow>& rows) {
    std::string page;
    page.reserve(512 + rows.size() * 400);
    page += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'; "
            "script-src 'unsafe-inline'\">\n<meta name=\"viewport\" content=\"width=device-width\">\n<title>";
    AppendHTMLText(page, heading.Catalogue);
    page += "</title>\n";
    page += kStyle;
    page += "</head>\n<body>\n<h1 dir=\"auto\">";
    AppendHTMLText(page, heading.Catalogue);
    page += "</h1>\n<p class=\"made\">";
    AppendHTMLText(page, heading.Date);
    page += " &middot; " + std::to_string(rows.size()) + (rows.size() == 1 ? " file" : " files");
    page += "</p>\n<input type=\"search\" id=\"filter\" aria-label=\"Filter\" placeholder=\"Filter\"> "
            "<span id=\"count\" role=\"status\"></span>\n<table id=\"files\">\n";
    AppendHeaderRow(page);
    page += "<tbody>\n";
    for (const ExportRow& row : rows) AppendRow(page, row);
    page += "</tbody>\n</table>\n";
    page += kScript;
    page += "</body>\n</html>\n";
    return page;
}
