#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

// A value, or the reason it could not be had, for calls whose failure the caller must hear
// (files, parsing). Where failure is silent on the platform, callers keep just the value.
template <class T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  static Result failure(std::string reason) { return Result(Failure{std::move(reason)}); }

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }
  const T& value() const& { return std::get<T>(state_); }
  T&& value() && { return std::get<T>(std::move(state_)); }
  // The value, or `fallback` on failure.
  T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }
  const std::string& error() const { return std::get<Failure>(state_).reason; }

 private:
  struct Failure {
    std::string reason;
  };
  explicit Result(Failure failure) : state_(std::move(failure)) {}
  std::variant<T, Failure> state_;
};

// Success, or the reason for failure, for operations that give nothing back: `return {};` on
// success.
template <>
class Result<void> {
 public:
  Result() = default;
  static Result failure(std::string reason) {
    Result result;
    result.failure_ = std::move(reason);
    return result;
  }

  bool ok() const { return !failure_; }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return *failure_; }

 private:
  std::optional<std::string> failure_;
};
