#include "platform/foundation/strings_table.h"

#include <cctype>
#include <optional>

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  Result<StringsTable> parse() {
    StringsTable table;
    while (skipSpaceAndComments(), at_ < text_.size()) {
      std::optional<std::string> key = quoted();
      if (!key || !expect('=')) return failure("expected \"key\" =");
      std::optional<std::string> value = quoted();
      if (!value || !expect(';')) return failure("expected \"value\";");
      table.insert_or_assign(std::move(*key), std::move(*value));
    }
    if (unterminatedComment_) return failure("unterminated comment");
    return table;
  }

 private:
  Result<StringsTable> failure(const std::string& what) const {
    size_t line = 1;
    for (size_t i = 0; i < at_ && i < text_.size(); ++i)
      line += text_[i] == '\n';
    return Result<StringsTable>::failure("line " + std::to_string(line) + ": " + what);
  }

  void skipSpaceAndComments() {
    while (at_ < text_.size()) {
      std::string_view rest = text_.substr(at_);
      if (std::isspace(static_cast<unsigned char>(rest[0]))) {
        ++at_;
      } else if (rest.starts_with("//")) {
        size_t end = rest.find('\n');
        at_ = end == std::string_view::npos ? text_.size() : at_ + end;
      } else if (rest.starts_with("/*")) {
        size_t end = rest.find("*/", 2);
        if (end == std::string_view::npos) {
          unterminatedComment_ = true;
          at_ = text_.size();
        } else {
          at_ += end + 2;
        }
      } else {
        return;
      }
    }
  }

  bool expect(char c) {
    skipSpaceAndComments();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

  std::optional<std::string> quoted() {
    if (!expect('"')) return std::nullopt;
    std::string result;
    while (at_ < text_.size()) {
      char c = text_[at_++];
      if (c == '"') return result;
      if (c != '\\') {
        result += c;
        continue;
      }
      if (at_ >= text_.size()) break;
      char escaped = text_[at_++];
      switch (escaped) {
        case 'n':
          result += '\n';
          break;
        case 't':
          result += '\t';
          break;
        case 'r':
          result += '\r';
          break;
        default:
          result += escaped;
      }
    }
    return std::nullopt;
  }

  std::string_view text_;
  size_t at_ = 0;
  bool unterminatedComment_ = false;
};

}  // namespace

Result<StringsTable> parseStringsTable(std::string_view text) {
  return Parser(text).parse();
}
