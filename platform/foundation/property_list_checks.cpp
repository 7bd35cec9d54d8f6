#include "platform/foundation/internal/property_list_checks.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

#include "platform/foundation/property_list.h"

namespace property_list_internal {
namespace {

// A binary file can share one object among many containers; libplist copies it for each, so
// the expanded tree, not the file, is what must stay bounded: a few values per byte at most, as
// a file without shared containers has (well under one), and never over two million.
constexpr uint64_t kMaxValues = uint64_t{1} << 21;
uint64_t maxValuesFor(uint64_t bytes) {
  return std::min(kMaxValues, (uint64_t{1} << 16) + 4 * bytes);
}
constexpr int64_t kReferenceDateInUnixTime = 978307200;

using Problem = std::optional<std::string>;

std::string tooDeep() {
  return "nested deeper than " + std::to_string(kPropertyListMaxDepth) + " levels";
}

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n";
  size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// --- Checks of XML text. libplist reads leniently ("abc" as 0, "010" as 8, 30 February as
// 2 March, years past 2069 as 1932), so values are checked here first and refused instead.

Problem integerProblem(std::string_view text) {
  std::string_view digits = trimmed(text);
  bool negative = !digits.empty() && digits[0] == '-';
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.remove_prefix(2);
  } else if (digits.size() > 1 && digits[0] == '0') {
    return "integer " + excerpt(text) + " has a leading zero";
  }
  uint64_t magnitude = 0;
  auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
  if (digits.empty() || error == std::errc::invalid_argument ||
      end != digits.data() + digits.size()) {
    return excerpt(text) + " is not an integer";
  }
  if (error == std::errc::result_out_of_range || (negative && magnitude > uint64_t{1} << 63)) {
    return "integer " + excerpt(text) + " does not fit in 64 bits";
  }
  return std::nullopt;
}

Problem realProblem(std::string_view text) {
  std::string_view number = trimmed(text);
  if (number.size() > 1 && number[0] == '+' && number[1] != '-') number.remove_prefix(1);
  double value = 0;
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  // Out of range still reads as the nearest value (infinity, or a subnormal), as written.
  if (number.empty() || error == std::errc::invalid_argument ||
      end != number.data() + number.size()) {
    return excerpt(text) + " is not a real number";
  }
  return std::nullopt;
}

int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  int64_t era = (year >= 0 ? year : year - 399) / 400;
  int64_t yearOfEra = year - era * 400;
  int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int64_t daysInMonth(int64_t year, int64_t month) {
  int64_t next = month == 12 ? daysFromCivil(year + 1, 1, 1) : daysFromCivil(year, month + 1, 1);
  return next - daysFromCivil(year, month, 1);
}

// libplist holds the seconds of a date read from XML in 32 bits, so the XML range is
// 1932-12-13T20:45:52Z to 2069-01-19T03:14:07Z; fractions of a second are dropped.
Problem dateProblem(std::string_view text) {
  std::string_view date = trimmed(text);
  auto field = [&](size_t at, size_t width) {
    int value = 0;
    auto [end, error] = std::from_chars(date.data() + at, date.data() + at + width, value);
    return error == std::errc() && end == date.data() + at + width ? value : -1;
  };
  bool fraction =
      date.size() > 21 && date[19] == '.' &&
      date.substr(20, date.size() - 21).find_first_not_of("0123456789") == std::string_view::npos;
  bool shape = date.size() >= 20 && date.back() == 'Z' && (date.size() == 20 || fraction) &&
               date[4] == '-' && date[7] == '-' && date[10] == 'T' && date[13] == ':' &&
               date[16] == ':';
  int year = shape ? field(0, 4) : -1, month = shape ? field(5, 2) : -1;
  int day = shape ? field(8, 2) : -1, hour = shape ? field(11, 2) : -1;
  int minute = shape ? field(14, 2) : -1, second = shape ? field(17, 2) : -1;
  if (year < 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return excerpt(text) + " is not a date of the form YYYY-MM-DDTHH:MM:SSZ";
  }
  int64_t seconds = daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second -
                    kReferenceDateInUnixTime;
  if (seconds < std::numeric_limits<int32_t>::min() ||
      seconds > std::numeric_limits<int32_t>::max()) {
    return "date " + excerpt(text) + " is outside the years 1932 to 2069 that XML dates can hold";
  }
  return std::nullopt;
}

Problem base64Problem(std::string_view text) {
  bool padding = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    bool digit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '+' || c == '/';
    if (c == '=') {
      padding = true;
    } else if (padding || !digit) {
      return std::string("data is not valid base64");
    }
  }
  return std::nullopt;
}

}  // namespace

// Walks the tags: nesting must stay within the bound (libplist frees its trees recursively and
// overflows the stack on very deep input) and every scalar must say what libplist will read.
Problem xmlProblem(std::string_view xml) {
  // XML has no NUL character; libplist aborts on a string holding one.
  if (xml.find('\0') != std::string_view::npos) return std::string("the XML holds a NUL byte");
  std::vector<std::string_view> open;
  size_t at = 0;
  auto skipPast = [&](std::string_view end) {
    size_t found = xml.find(end, at);
    at = found == std::string_view::npos ? xml.size() : found + end.size();
    return found != std::string_view::npos;
  };
  while ((at = xml.find('<', at)) != std::string_view::npos) {
    std::string_view rest = xml.substr(at);
    if (rest.starts_with("<!--")) {
      if (!skipPast("-->")) return std::string("the XML ends inside a comment");
      continue;
    }
    if (rest.starts_with("<![CDATA[")) {
      if (!skipPast("]]>")) return std::string("the XML ends inside a CDATA section");
      continue;
    }
    if (rest.starts_with("<?") || rest.starts_with("<!")) {
      size_t subset = rest.find('['), close = rest.find('>');
      if (!skipPast(subset < close && rest[1] == '!' ? "]>" : rest[1] == '?' ? "?>" : ">")) {
        return std::string("the XML ends inside a declaration");
      }
      continue;
    }
    size_t end = at + 1;
    for (char quote = 0; end < xml.size() && (quote || xml[end] != '>'); ++end) {
      if (quote ? xml[end] == quote : xml[end] == '"' || xml[end] == '\'') {
        quote = quote ? 0 : xml[end];
      }
    }
    if (end >= xml.size()) return std::string("the XML ends inside a tag");
    std::string_view tag = xml.substr(at + 1, end - at - 1);
    at = end + 1;
    bool closing = tag.starts_with('/');
    if (closing) tag.remove_prefix(1);
    bool empty = !closing && tag.ends_with('/');
    std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
    if (name == "array" || name == "dict") {
      if (closing && !open.empty() && open.back() == name) open.pop_back();
      if (!closing && !empty) open.push_back(name);
      if (open.size() > size_t{kPropertyListMaxDepth}) {
        return tooDeep();
      }
      continue;
    }
    if (closing) continue;
    std::string_view text = empty ? "" : xml.substr(at, xml.find('<', at) - at);
    Problem problem = name == "integer" ? integerProblem(text)
                      : name == "real"  ? realProblem(text)
                      : name == "date"  ? dateProblem(text)
                      : name == "data"  ? base64Problem(text)
                                        : std::nullopt;
    if (problem) return problem;
  }
  return std::nullopt;
}

namespace {

// --- Checks of binary structure: libplist recurses per level (overflowing the stack on deep
// input) and copies shared objects (exponential time for a chain of shared arrays), so the
// layout, references, nesting and expanded size are all checked before it parses.

struct BinaryObject {
  uint64_t references = 0;  // where its references start, for containers
  uint64_t count = 0;       // how many references it has
};

// Whether ASCII (or UTF-16, two bytes per character) text holds a NUL character.
bool holdsNul(std::string_view text, bool utf16) {
  if (!utf16) return text.find('\0') != std::string_view::npos;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    if (text[i] == '\0' && text[i + 1] == '\0') return true;
  }
  return false;
}

class BinaryLayout {
 public:
  explicit BinaryLayout(std::string_view bytes) : bytes_(bytes) {}

  Problem readTrailer() {
    if (bytes_.size() < 8 + 2 + 32) return std::string("the binary property list is truncated");
    uint64_t trailer = bytes_.size() - 32;
    offsetSize_ = static_cast<uint8_t>(bytes_[trailer + 6]);
    referenceSize_ = static_cast<uint8_t>(bytes_[trailer + 7]);
    objects_ = bigEndian(bytes_, trailer + 8, 8);
    top_ = bigEndian(bytes_, trailer + 16, 8);
    table_ = bigEndian(bytes_, trailer + 24, 8);
    if (offsetSize_ < 1 || offsetSize_ > 8 || referenceSize_ < 1 || referenceSize_ > 8 ||
        objects_ == 0 || top_ >= objects_ || table_ < 9 || table_ > trailer ||
        objects_ > (trailer - table_) / offsetSize_) {
      return damaged("its trailer is inconsistent");
    }
    if (objects_ > kMaxValues) return damaged("it holds too many objects");
    return std::nullopt;
  }

  uint64_t objects() const { return objects_; }
  uint64_t top() const { return top_; }
  uint64_t reference(const BinaryObject& object, uint64_t i) const {
    return bigEndian(bytes_, object.references + i * referenceSize_, referenceSize_);
  }

  // The object's references; a problem unless its bytes lie within the object area and its
  // type is one property lists use.
  Result<BinaryObject> object(uint64_t index) const {
    using R = Result<BinaryObject>;
    uint64_t at = bigEndian(bytes_, table_ + index * offsetSize_, offsetSize_);
    std::string name = "object " + std::to_string(index);
    if (at < 8 || at >= table_) return R::failure(damaged(name + " lies outside the data"));
    uint8_t marker = static_cast<uint8_t>(bytes_[at]);
    uint8_t kind = marker >> 4, info = marker & 15;
    uint64_t start = at + 1, count = info;
    bool counted =
        kind == 0x4 || kind == 0x5 || kind == 0x6 || kind == 0xA || kind == 0xC || kind == 0xD;
    if (counted && info == 15) {
      uint8_t lengthMarker = start < table_ ? static_cast<uint8_t>(bytes_[start]) : 0;
      uint64_t width = uint64_t{1} << (lengthMarker & 3);
      if (lengthMarker >> 4 != 1 || (lengthMarker & 15) > 3 || table_ - start <= width) {
        return R::failure(damaged(name + " has a malformed length"));
      }
      count = bigEndian(bytes_, start + 1, width);
      start += 1 + width;
    }
    uint64_t room = table_ - start, size = 0;
    switch (kind) {
      case 0x0:
        if (marker != 0x08 && marker != 0x09) return R::failure(unsupported(name));
        break;
      case 0x1:
        if (info > 4) return R::failure(unsupported(name));
        size = uint64_t{1} << info;
        break;
      case 0x2:
        if (info != 2 && info != 3) return R::failure(unsupported(name));
        size = uint64_t{1} << info;
        break;
      case 0x3:
        if (marker != 0x33) return R::failure(unsupported(name));
        size = 8;
        break;
      case 0x4:
      case 0x5:
        size = count;
        break;
      case 0x6:
        size = count > room / 2 ? room + 1 : count * 2;
        break;
      case 0x8:
        if (info > 7) return R::failure(unsupported(name));
        size = info + 1;
        break;
      case 0xA:
      case 0xC:
      case 0xD: {
        uint64_t perEntry = uint64_t{kind == 0xD ? 2u : 1u} * referenceSize_;
        if (count > room / perEntry)
          return R::failure(damaged(name + " runs past the end of the data"));
        size = count * perEntry;
        count = size / referenceSize_;  // a dictionary's keys, then its values
        break;
      }
      default:
        return R::failure(unsupported(name));
    }
    if (size > room) return R::failure(damaged(name + " runs past the end of the data"));
    // A 16-byte integer is how an unsigned value above INT64_MAX is written; libplist keeps
    // only the low half of the rest, which would silently change the value.
    if (kind == 0x1 && info == 4 && bigEndian(bytes_, start, 8) != 0) {
      return R::failure(name + " is an integer that does not fit in 64 bits");
    }
    // libplist asserts (and so aborts the process) when asked for a string holding NUL.
    if ((kind == 0x5 || kind == 0x6) && holdsNul(bytes_.substr(start, size), kind == 0x6)) {
      return R::failure(name + " is a string holding a NUL character");
    }
    bool container = kind == 0xA || kind == 0xC || kind == 0xD;
    return BinaryObject{start, container ? count : 0};
  }

 private:
  static std::string damaged(const std::string& why) {
    return "the binary property list is damaged: " + why;
  }
  static std::string unsupported(const std::string& name) {
    return name + " has a type property lists do not use";
  }

  std::string_view bytes_;
  uint8_t offsetSize_ = 0, referenceSize_ = 0;
  uint64_t objects_ = 0, top_ = 0, table_ = 0;
};

}  // namespace

Problem binaryProblem(std::string_view bytes) {
  BinaryLayout layout(bytes);
  if (Problem problem = layout.readTrailer()) return problem;
  // Depth-first over the references without recursion, remembering each finished object's
  // expanded size and height so that shared objects are measured once.
  struct Measure {
    uint32_t values = 0;
    uint16_t height = 0;
    uint8_t state = 0;  // 0 unseen, 1 on the path from the top, 2 measured
  };
  struct Frame {
    uint64_t index;
    BinaryObject object;
    uint64_t next = 0;
    uint64_t values = 1;
    uint64_t height = 0;
  };
  std::vector<Measure> measures(layout.objects());
  const uint64_t maxValues = maxValuesFor(bytes.size());
  std::vector<Frame> path;
  auto enter = [&](uint64_t index) -> Problem {
    Result<BinaryObject> object = layout.object(index);
    if (!object) return object.error();
    if (object.value().count > 0 && path.size() >= size_t{kPropertyListMaxDepth}) {
      return tooDeep();
    }
    measures[index].state = 1;
    path.push_back({index, object.value(), 0, 1, object.value().count > 0 ? 1u : 0u});
    return std::nullopt;
  };
  auto absorb = [&](Frame& parent, const Measure& child) -> Problem {
    parent.values += child.values;
    parent.height = std::max<uint64_t>(parent.height, child.height + 1u);
    if (parent.height > uint64_t{kPropertyListMaxDepth}) return tooDeep();
    if (parent.values <= maxValues) return std::nullopt;
    return "the binary property list's shared objects expand to over " + std::to_string(maxValues) +
           " values";
  };
  if (Problem problem = enter(layout.top())) return problem;
  while (!path.empty()) {
    Frame& frame = path.back();
    if (frame.next < frame.object.count) {
      uint64_t child = layout.reference(frame.object, frame.next++);
      if (child >= layout.objects()) {
        return "the binary property list is damaged: object " + std::to_string(frame.index) +
               " refers to a missing object";
      }
      if (measures[child].state == 1) {
        return "the binary property list is damaged: object " + std::to_string(child) +
               " contains itself";
      }
      Problem problem = measures[child].state == 2 ? absorb(frame, measures[child]) : enter(child);
      if (problem) return problem;
      continue;
    }
    Measure& done = measures[frame.index];
    done = {static_cast<uint32_t>(frame.values), static_cast<uint16_t>(frame.height), 2};
    path.pop_back();
    if (!path.empty()) {
      if (Problem problem = absorb(path.back(), done)) return problem;
    }
  }
  return std::nullopt;
}

std::string excerpt(std::string_view text) {
  constexpr size_t kMaxShown = 40;
  std::string shown(text.substr(0, kMaxShown));
  return "'" + shown + (text.size() > kMaxShown ? "...'" : "'");
}

uint64_t bigEndian(std::string_view bytes, uint64_t at, uint64_t width) {
  uint64_t value = 0;
  for (uint64_t i = 0; i < width; ++i)
    value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

}  // namespace property_list_internal
