#include "platform/runtime/type_encoding.h"

#include <cctype>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/runtime/no_destructor.h"

namespace objc {
namespace {

constexpr std::string_view kQualifiers = "rnNoORV";
constexpr std::string_view kSimpleTypes = "cislqCISLQfdBv*@#:?";

// Length of the type token at the start of `text`, or 0 if there is none.
size_t tokenLength(std::string_view text);

size_t bracketedLength(std::string_view text, char open, char close) {
  size_t depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == open) ++depth;
    if (text[i] == close && --depth == 0) return i + 1;
  }
  return 0;
}

size_t tokenLength(std::string_view text) {
  size_t prefix = 0;
  while (prefix < text.size() && kQualifiers.find(text[prefix]) != std::string_view::npos) {
    ++prefix;
  }
  if (prefix == text.size()) return 0;
  std::string_view rest = text.substr(prefix);
  size_t length = 0;
  switch (rest[0]) {
    case '^': {
      size_t inner = tokenLength(rest.substr(1));
      length = inner ? inner + 1 : 0;
      break;
    }
    case '{':
      length = bracketedLength(rest, '{', '}');
      break;
    case '(':
      length = bracketedLength(rest, '(', ')');
      break;
    case '[':
      length = bracketedLength(rest, '[', ']');
      break;
    case '@':
      // An object type may carry its class name: @"UIView".
      length = 1;
      if (rest.size() > 1 && rest[1] == '"') {
        size_t end = rest.find('"', 2);
        length = end == std::string_view::npos ? 0 : end + 1;
      }
      break;
    default:
      length = kSimpleTypes.find(rest[0]) != std::string_view::npos ? 1 : 0;
  }
  return length ? prefix + length : 0;
}

struct SignatureTable {
  std::mutex mutex;
  std::unordered_map<std::string, std::unique_ptr<Signature>> byEncoding;
};

SignatureTable& signatures() {
  static NoDestructor<SignatureTable> instance;
  return *instance;
}

}  // namespace

std::optional<std::vector<std::string>> splitEncoding(std::string_view encoding) {
  std::vector<std::string> tokens;
  while (!encoding.empty()) {
    size_t length = tokenLength(encoding);
    if (length == 0) return std::nullopt;
    tokens.emplace_back(encoding.substr(0, length));
    encoding.remove_prefix(length);
    while (!encoding.empty() && std::isdigit(static_cast<unsigned char>(encoding[0]))) {
      encoding.remove_prefix(1);
    }
  }
  if (tokens.size() < 3 || tokens[1] != "@" || tokens[2] != ":") {
    return std::nullopt;
  }
  return tokens;
}

std::optional<std::string> normalizeEncoding(std::string_view encoding) {
  auto tokens = splitEncoding(encoding);
  if (!tokens) return std::nullopt;
  std::string joined;
  for (std::string_view token : *tokens) {
    // Qualifiers (const, in, out…) and the class name of an object type document the method;
    // they do not change how it is called.
    token.remove_prefix(token.find_first_not_of(kQualifiers));
    joined += token.starts_with("@\"") ? std::string_view("@") : token;
  }
  return joined;
}

const Signature* Signature::intern(std::string_view encoding) {
  auto normalized = normalizeEncoding(encoding);
  if (!normalized) return nullptr;
  auto& table = signatures();
  std::lock_guard lock(table.mutex);
  auto [slot, inserted] = table.byEncoding.try_emplace(*normalized);
  if (inserted) slot->second = std::make_unique<Signature>(*normalized);
  return slot->second.get();
}

}  // namespace objc
