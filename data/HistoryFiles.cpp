#include "data/HistoryFiles.h"

#include <algorithm>
#include <functional>
#include <system_error>

#include "core/Text.h"

namespace keldra {
namespace {

namespace fs = std::filesystem;

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Upper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), AsciiUpper);
  return upper;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// Runs `each` for every line, without its CR LF or LF; a UTF-8 mark at the start is dropped.
template <class F>
void ForEachLine(std::string_view bytes, F each) {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    each(line);
    if (end == std::string_view::npos) {
      break;
    }
    bytes.remove_prefix(end + 1);
  }
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
  int n = 0;
  for (char c : digits) {
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

HistoryDate ParseHistoryDate(std::string_view text) {
  if (!AllDigits(text) || (text.size() != 6 && text.size() != 8)) {
    return 0;
  }
  int year = Number(text.substr(0, text.size() - 4));
  if (text.size() == 6) {
    year += year >= 80 ? 1900 : 2000;
  }
  const int month = Number(text.substr(text.size() - 4, 2));
  const int day = Number(text.substr(text.size() - 2));
  if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31) {
    return 0;
  }
  return year * 10000 + month * 100 + day;
}

namespace {

// Where a reader puts what it reads: each good sighting to `take`, and the count of lines skipped.
using Take = std::function<void(std::string call, std::string locator, HistoryDate date)>;

class Sink {
 public:
  explicit Sink(Take take) : take_(std::move(take)) {}
  // Takes the sighting when call and locator are good; counts the line as skipped otherwise.
  void Line(std::string_view call, std::string_view locator, HistoryDate date) {
    std::string c = Upper(TrimBlanks(call));
    std::string l = Upper(TrimBlanks(locator));
    if (!IsHistoryCall(c) || !IsSixCharacterLocator(l)) {
      ++skipped;
      return;
    }
    ++read;
    take_(std::move(c), std::move(l), date);
  }
  void Broken() { ++skipped; }
  std::size_t read = 0;
  std::size_t skipped = 0;

 private:
  Take take_;
};

std::string_view Unquoted(std::string_view field) {
  field = TrimBlanks(field);
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
    field = field.substr(1, field.size() - 2);
  }
  return field;
}

}  // namespace

std::optional<HistoryFormat> HistoryFormatOf(const fs::path& file) {
  const std::string name = Upper(file.filename().string());
  const std::string extension = Upper(file.extension().string());
  if (extension == ".EDI") {
    return HistoryFormat::kEdi;
  }
  if (name == "C_W" || extension == ".CW") {
    return HistoryFormat::kBlankList;
  }
  if (extension == ".CSV" || extension == ".CSL") {
    return HistoryFormat::kCommaList;
  }
  return std::nullopt;
}

namespace {

void ParseEdiLog(std::string_view bytes, Sink& sink) {
  // A log with a header keeps its records in one section; a bare record list is all records.
  bool has_section = false;
  ForEachLine(bytes, [&](std::string_view line) {
    has_section = has_section || StartsWithNoCase(line, "[QSORecords");
  });
  bool in_records = !has_section;
  ForEachLine(bytes, [&](std::string_view line) {
    if (has_section && line.starts_with('[')) {
      in_records = StartsWithNoCase(line, "[QSORecords");
      return;
    }
    if (!in_records || TrimBlanks(line).empty()) {
      return;
    }
    std::string_view fields[10];
    std::size_t count = 0;
    for (std::size_t start = 0; count < 10;) {
      const std::size_t end = line.find(';', start);
      fields[count++] = line.substr(start, end == std::string_view::npos ? end : end - start);
      if (end == std::string_view::npos) {
        break;
      }
      start = end + 1;
    }
    if (count < 10) {
      return sink.Broken();
    }
    sink.Line(fields[2], fields[9], ParseHistoryDate(TrimBlanks(fields[0])));
  });
}

void ParseBlankList(std::string_view bytes, Sink& sink) {
  ForEachLine(bytes, [&](std::string_view line) {
    std::string_view words[3];
    std::size_t count = 0;
    for (std::size_t at = 0; count < 3;) {
      while (at < line.size() && IsBlank(line[at])) {
        ++at;
      }
      if (at == line.size()) {
        break;
      }
      std::size_t end = at;
      while (end < line.size() && !IsBlank(line[end])) {
        ++end;
      }
      words[count++] = line.substr(at, end - at);
      at = end;
    }
    if (count == 0) {
      return;
    }
    if (count == 1) {
      return sink.Broken();
    }
    sink.Line(words[0], words[1], count == 3 ? ParseHistoryDate(words[2]) : 0);
  });
}

void ParseCommaList(std::string_view bytes, Sink& sink) {
  bool first = true;
  ForEachLine(bytes, [&](std::string_view line) {
    const bool list_name = first && line.starts_with(',');
    first = false;
    if (list_name || TrimBlanks(line).empty()) {
      return;
    }
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
      return sink.Broken();
    }
    const std::string_view rest = line.substr(comma + 1);
    sink.Line(Unquoted(line.substr(0, comma)), Unquoted(rest.substr(0, rest.find(','))), 0);
  });
}

void Parse(HistoryFormat format, std::string_view bytes, Sink& sink) {
  switch (format) {
    case HistoryFormat::kEdi:
      return ParseEdiLog(bytes, sink);
    case HistoryFormat::kBlankList:
      return ParseBlankList(bytes, sink);
    case HistoryFormat::kCommaList:
      return ParseCommaList(bytes, sink);
  }
}

HistoryRead ReadInto(HistoryFormat format, std::string_view bytes) {
  HistoryRead read;
  Sink sink([&](std::string call, std::string locator, HistoryDate date) {
    read.entries.push_back({std::move(call), std::move(locator), date});
  });
  Parse(format, bytes, sink);
  read.skipped = sink.skipped;
  return read;
}

}  // namespace

HistoryRead ReadEdiLog(std::string_view bytes) { return ReadInto(HistoryFormat::kEdi, bytes); }
HistoryRead ReadBlankList(std::string_view bytes) {
  return ReadInto(HistoryFormat::kBlankList, bytes);
}
HistoryRead ReadCommaList(std::string_view bytes) {
  return ReadInto(HistoryFormat::kCommaList, bytes);
}
HistoryRead ReadHistory(HistoryFormat format, std::string_view bytes) {
  return ReadInto(format, bytes);
}

namespace {

// The history sources of one folder, in name order; a folder that is missing gives none.
std::vector<fs::path> SourcesIn(const fs::path& folder, bool edi_only) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code type_error;
    if (!it->is_regular_file(type_error)) {
      continue;
    }
    const auto format = HistoryFormatOf(it->path());
    if (format && (!edi_only || *format == HistoryFormat::kEdi)) {
      found.push_back(it->path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

HistoryLoad LoadHistory(const Files& files, const fs::path& folder, std::size_t limit) {
  HistoryLoad load;
  std::vector<fs::path> sources = SourcesIn(folder, true);
  for (fs::path& p : SourcesIn(folder / kHistoryFolderName, false)) {
    sources.push_back(std::move(p));
  }
  CallHistory::Builder builder;
  for (const fs::path& path : sources) {
    HistoryFileRead file{path, IoStatus::Ok()};
    ReadResult bytes = files.Read(path, limit + 1);
    file.status = bytes.status;
    if (bytes.status.ok()) {
      std::string_view text = bytes.bytes;
      if (text.size() > limit) {
        // Read as far as the limit goes, to the last whole line.
        file.cut = true;
        text = text.substr(0, limit);
        text = text.substr(0, text.rfind('\n') + 1);
      }
      // Straight into the index: a long file never stands in memory twice.
      Sink sink([&](const std::string& call, const std::string& locator, HistoryDate date) {
        builder.Add(call, locator, date);
      });
      Parse(*HistoryFormatOf(path), text, sink);
      file.read = sink.read;
      file.skipped = sink.skipped;
    }
    load.files.push_back(std::move(file));
  }
  load.history = std::move(builder).Build();
  return load;
}

std::size_t HistoryLoad::Read() const {
  std::size_t n = 0;
  for (const HistoryFileRead& f : files) {
    n += f.read;
  }
  return n;
}

std::size_t HistoryLoad::Skipped() const {
  std::size_t n = 0;
  for (const HistoryFileRead& f : files) {
    n += f.skipped;
  }
  return n;
}

std::size_t HistoryLoad::Unreadable() const {
  return static_cast<std::size_t>(std::count_if(
      files.begin(), files.end(), [](const HistoryFileRead& f) { return !f.status; }));
}

std::string HistorySummary(const HistoryLoad& load) {
  if (load.files.empty()) {
    return "Storico: nessun file";
  }
  auto count = [](const char* what, std::size_t n) {
    return std::string(what) + std::to_string(n);
  };
  std::string text = count("Storico: nominativi ", load.history.Calls()) +
                     count(", righe lette ", load.Read()) + count(", scartate ", load.Skipped()) +
                     count(", file ", load.files.size());
  if (const std::size_t unreadable = load.Unreadable(); unreadable > 0) {
    text += count(", file illeggibili ", unreadable);
  }
  const auto cut = std::count_if(load.files.begin(), load.files.end(),
                                 [](const HistoryFileRead& f) { return f.cut; });
  if (cut > 0) {
    text += count(", file letti in parte ", static_cast<std::size_t>(cut));
  }
  return text;
}

}  // namespace keldra
