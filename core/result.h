#pragma once
// A value or the reason it could not be produced. Decoders and encoders return this instead
// of a flag plus a global error string, so the reason travels with the failure.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace quorvel {

// Why an operation failed, as a short lower-case phrase without a full stop, ready to be
// embedded in a user-facing sentence ("the file is shorter than its headers say").
struct Failure {
    std::string reason;
};

template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<T>(state_); }
    T& value() & { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }

    const std::string& error() const { return std::get<Failure>(state_).reason; }

  private:
    std::variant<T, Failure> state_;
};

struct Done {};
// The result of an operation that produces nothing but can fail.
using Status = Result<Done>;

inline Status Success() {
    return Done{};
}

}  // namespace quorvel
