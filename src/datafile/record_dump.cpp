#include "datafile/record_dump.h"

#include <unistd.h>

#include <cerrno>

#include "em38/em38_record.h"
#include "platform/numbers.h"

namespace obrix {
namespace {

std::string Printable(std::string_view s) {
  std::string out;
  for (char c : s) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '\\')
      out += c;
    else
      out += FormatC("\\x%02X", u);
  }
  return out;
}

// A one-character field as shown: itself when printable, else '?'.
char Shown(char c) { return c > 0x20 && c < 0x7F ? c : '?'; }

std::string Quoted(std::string_view s) { return "\"" + Printable(s) + "\""; }

std::string Ticked(const DataRecord& r) { return FormatC("tick %lu", static_cast<unsigned long>(RecordTick(r))); }

}  // namespace

std::string RecordDumper::Format(int64_t index, const DataRecord& r) {
  std::string kind, detail;
  char k = r.kind();
  if (headerPlace_ >= 0) ++headerPlace_;
  bool completed = sentences_.Feed(r);
  switch (k) {
    case 'O':
    case 'o':
      headerPlace_ = 0;
      kind = k == 'o' ? "identifier+" : "identifier";
      detail = "version " + Printable(r.field(9, 3)) + " " + Printable(r.field(12, 3)) +
               FormatC(" units %c dipole %c mode %c component %c model %c instrument %c", Shown(r.at(15)),
                       Shown(r.at(16)), Shown(r.at(17)), Shown(r.at(18)), Shown(r.at(19)), Shown(r.at(21)));
      break;
    case 'H':
      kind = "file name";
      detail = "name " + Quoted(TrimRight(r.field(1, 10))) + FormatC(" interval %.3f", FieldNumber(r, 11, 7));
      break;
    case 'G':
      if (headerPlace_ == 2) {
        kind = "settings";
        detail = FormatC("lateral %.3f along %.3f rts %c slam %c nmea %c gps %c", FieldNumber(r, 1, 7),
                         FieldNumber(r, 8, 7), Shown(r.at(17)), Shown(r.at(18)), Shown(r.at(19)), Shown(r.at(20)));
      } else if (headerPlace_ == 3) {
        kind = "origin easting";
        detail = FormatC("easting %.3f zone %d", FieldNumber(r, 1, 14), FieldInt(r, 16, 2));
      } else if (headerPlace_ == 4) {
        kind = "origin northing";
        detail = FormatC("northing %.3f", FieldNumber(r, 1, 14));
      } else {
        kind = "G record";
      }
      break;
    case 'L':
      kind = "line";
      detail = "name " + Quoted(TrimRight(r.field(1, 12))) + " overflow " + Quoted(TrimRight(r.field(13, 10)));
      break;
    case 'B':
      kind = "start station";
      detail = FormatC("station %.2f", FieldNumber(r, 1, 11));
      break;
    case 'A':
      kind = "direction";
      detail = FormatC("direction %c increment %.3f", Shown(r.at(1)), FieldNumber(r, 8, 11));
      break;
    case 'Z':
      kind = "date";
      break;
    case '*':
      kind = "time mark";
      detail = Ticked(r);
      break;
    case 'S':
      kind = "station";
      detail = FormatC("station %.2f", FieldNumber(r, 1, 11));
      break;
    case 'T':
      kind = "reading";
      {
        Em38Reading e = ParseEm38Record(r.field(0, 12));
        detail = "record " + Quoted(InstrumentField(r)) + " " + Ticked(r) +
                 FormatC(" value %.4f %s dipole %c channel %d", e.value, e.conductivity ? "mS/m" : "ppt",
                         Shown(e.dipole), e.channel);
        if (e.marker == 'M') detail += " marker";
      }
      break;
    case 'X':
    case 'C':
      kind = k == 'X' ? "event" : "comment";
      detail = "text " + Quoted(EventText(r)) + " " + Ticked(r);
      break;
    case '@': kind = "sentence"; break;
    case '#': kind = "sentence cont"; break;
    case '?': kind = "raw line"; break;
    case '"': kind = "raw line cont"; break;
    case '!':
      kind = "trailer";
      detail = FormatC("line %ld fix %c ", TrailerCounter(r), TrailerFixMark(r) == 'p' ? 'p' : '-') + Ticked(r);
      if (completed)
        detail += (sentences_.raw() ? " raw " : " sentence ") + Quoted(sentences_.text());
      break;
    case '{':
      kind = "swath";
      detail = FormatC("sub-kind %c value %.3f", Shown(SwathSubKind(r)), SwathValue(r));
      break;
    default:
      kind = "unknown";
      break;
  }
  std::string line = FormatC("%6lld %-15s |", static_cast<long long>(index), kind.c_str());
  line += Printable(r.text()) + "|";
  if (!detail.empty()) line += " " + detail;
  return line;
}

bool DumpDataFile(int fd, const std::function<bool(std::string_view)>& out) {
  constexpr size_t kBlockRecords = 2048;
  std::string block(kBlockRecords * RecordLength, '\0');
  std::string lines;
  RecordDumper dumper;
  int64_t index = 0;
  off_t offset = 0;
  size_t fill = 0;  // bytes in `block`, the start of a record at 0
  for (;;) {
    const ssize_t n = ::pread(fd, block.data() + fill, block.size() - fill, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    offset += n;
    fill += static_cast<size_t>(n);
    size_t used = 0;
    lines.clear();
    for (; fill - used >= static_cast<size_t>(RecordLength); used += RecordLength) {
      lines += dumper.Format(index++, DataRecord::From(std::string_view(block.data() + used, RecordLength)));
      lines += '\n';
    }
    block.erase(0, used);
    block.resize(kBlockRecords * RecordLength, '\0');
    fill -= used;
    if (!lines.empty() && !out(lines)) return false;
  }
  if (fill > 0 && !out(FormatC("(%zu bytes of an incomplete record at the end)\n", fill))) return false;
  return true;
}

std::string DumpDataFile(int fd) {
  std::string text;
  DumpDataFile(fd, [&text](std::string_view part) {
    text += part;
    return true;
  });
  return text;
}

}  // namespace obrix
