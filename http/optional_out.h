// An in/out or out argument that the caller may leave out.
//
// Given a variable, the routine reads it and its writes reach the caller.
// Given a value (a temporary or a constant), the routine reads it and its
// writes stay with the argument. Left out (`{}` or std::nullopt), it reads as
// the empty value and swallows what is written to it. Either way the routine
// can ask whether the caller gave the argument at all, which is not the same
// as giving an empty value.
#pragma once

#include <concepts>
#include <optional>
#include <utility>

#include "runtime/text.h"

template <class T> class OptionalOut {
public:
  OptionalOut() = default;
  OptionalOut(std::nullopt_t) {}
  OptionalOut(T &variable) : variable_(&variable), given_(true) {}
  OptionalOut(const T &value) : own_(value), given_(true) {}
  OptionalOut(T &&value) : own_(std::move(value)), given_(true) {}
  OptionalOut(const char *text) requires std::same_as<T, Text> : own_(text), given_(true) {}

  // A copy would let writes land in the copy's own value; a move keeps
  // them going where they went before.
  OptionalOut(const OptionalOut &) = delete;
  OptionalOut &operator=(const OptionalOut &) = delete;
  OptionalOut(OptionalOut &&) = default;

  bool given() const { return given_; }
  T &get() { return variable_ ? *variable_ : own_; }
  const T &get() const { return variable_ ? *variable_ : own_; }
  void set(T value) { get() = std::move(value); }

private:
  T *variable_ = nullptr;
  T own_{};
  bool given_ = false;
};
