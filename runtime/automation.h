// Calls into COM automation servers (the script engine behind JsonObject).
//
// An AutoObject holds one counted reference to a COM object, or nothing. Member
// calls bind names through the object's type information, convert Text
// arguments from code page 936 to UTF-16 and text results back, and give the
// empty value of their kind (empty Text, 0, false) on any failure; the last
// automation error of the calling thread says what went wrong.
//
// Windows-only in its implementation; this header stays free of <windows.h>
// so that portable headers can hold an AutoObject.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "runtime/text.h"

struct IUnknown;

// An automation object variable: owns its reference and releases it when
// cleared, overwritten or destroyed. Copies are made explicitly (AutoCopy).
class AutoObject {
public:
  AutoObject() = default;
  AutoObject(const AutoObject &) = delete;
  AutoObject &operator=(const AutoObject &) = delete;
  AutoObject(AutoObject &&other) noexcept;
  AutoObject &operator=(AutoObject &&other) noexcept;
  ~AutoObject();

  IUnknown *get() const { return unknown_; }
  // Takes over a reference the caller holds.
  void adopt(IUnknown *unknown);

private:
  IUnknown *unknown_ = nullptr;
};

// An argument left out; in the middle of a list it is passed as "parameter
// not found", at the end it is dropped.
struct AutoOmitted {};
// A date-time in the automation form (days since 30 December 1899).
struct AutoDate {
  double days = 0;
};

// One argument of a member call. Text is converted from code page 936; wide
// text is passed as it is. Views are held, so an argument lives no longer
// than the call expression it appears in.
class AutoArg {
public:
  using Value = std::variant<AutoOmitted, std::string_view, std::u16string_view, bool, std::int32_t,
                             std::int64_t, double, float, std::uint8_t, std::int16_t, AutoDate,
                             const AutoObject *>;

  AutoArg(AutoOmitted) {}
  AutoArg(const Text &text) : value_(std::string_view(text)) {}
  AutoArg(const char *text) : value_(std::string_view(text)) {}
  AutoArg(std::string_view text) : value_(text) {}
  AutoArg(std::u16string_view wide) : value_(wide) {}
  AutoArg(const std::u16string &wide) : value_(std::u16string_view(wide)) {}
  AutoArg(bool flag) : value_(flag) {}
  AutoArg(std::int32_t number) : value_(number) {}
  AutoArg(std::int64_t number) : value_(number) {}
  AutoArg(double number) : value_(number) {}
  AutoArg(float number) : value_(number) {}
  AutoArg(std::uint8_t number) : value_(number) {}
  AutoArg(std::int16_t number) : value_(number) {}
  AutoArg(AutoDate date) : value_(date) {}
  AutoArg(const AutoObject &object) : value_(&object) {}

  const Value &value() const { return value_; }
  bool omitted() const { return std::holds_alternative<AutoOmitted>(value_); }

private:
  Value value_;
};

using AutoArgs = std::initializer_list<AutoArg>;

// Creates an instance by ProgID (or class identifier in braces) and puts it
// into its running state. On success the variable's previous object is
// released and replaced; on failure the variable is unchanged.
bool AutoCreate(AutoObject &object, const Text &prog_id);
// True when the property write succeeded.
bool AutoSetProperty(const AutoObject &object, const Text &name, const AutoArg &value);
// Method calls; the result converted to text, a number or a flag.
Text AutoCallText(const AutoObject &object, const Text &method, AutoArgs args = {});
double AutoCallNumber(const AutoObject &object, const Text &method, AutoArgs args = {});
bool AutoCallBool(const AutoObject &object, const Text &method, AutoArgs args = {});
// The destination refers to the source's object with one more reference; what
// the destination held before is released.
void AutoCopy(AutoObject &destination, const AutoObject &source);
void AutoClear(AutoObject &object);
bool AutoIsEmpty(const AutoObject &object);
// 0 after the calling thread's last successful create, write or call; a
// negative code after a failed one.
std::int32_t AutoLastError();

// Keeps COM initialised on the calling thread while held: enter calls
// CoInitialize once, and leave (or destruction) calls CoUninitialize if that
// initialisation succeeded, so every initialisation is paired.
class AutoComScope {
public:
  AutoComScope() = default;
  AutoComScope(const AutoComScope &) = delete;
  AutoComScope &operator=(const AutoComScope &) = delete;
  AutoComScope(AutoComScope &&other) noexcept;
  AutoComScope &operator=(AutoComScope &&other) noexcept;
  ~AutoComScope() { leave(); }

  void enter();
  void leave();
  bool entered() const { return entered_; }

private:
  bool entered_ = false;
  bool initialised_ = false;
};
