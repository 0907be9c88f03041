#pragma once

#include <string>
#include <utility>

namespace qv70 {

// What a core operation that can fail returns: `ok`, or a message saying why
// not. The message is the operator's text where the operation names one (the
// window layer shows it, the command-line tools print it); nothing is thrown.
struct Result {
  bool ok = false;
  std::string message;

  static Result Success() { return {true, {}}; }
  static Result Failure(std::string message) { return {false, std::move(message)}; }

  explicit operator bool() const { return ok; }
};

// A Result that carries what the operation produced. On failure `value` is
// left as T{} (an empty text, an empty list), never half made.
template <typename T>
struct ResultOf : Result {
  T value{};

  static ResultOf Success(T value) {
    ResultOf result;
    result.ok = true;
    result.value = std::move(value);
    return result;
  }
  static ResultOf Failure(std::string message) {
    ResultOf result;
    result.message = std::move(message);
    return result;
  }
};

}  // namespace qv70
