// The value types every routine of Lumiscribe is written against, and the
// primitives over them.
//
// Text  - bytes in code page 936 that never hold a zero byte. Positions count
//         bytes from 1; the empty text and an absent text are the same value.
//         Searching, splitting, replacing, trimming and case changes step over
//         two-byte characters (lead byte >= 0x80 plus its trail byte) as units.
// Bytes - a counted byte buffer that may hold zero bytes.
// TextArray - texts indexed from 1.
//
// Ordinary bad input gives the empty value, 0, -1 or false. Indexing outside
// 1..count, a zero divisor and an unknown BytesRead kind are fatal program
// errors (see fatal.h).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

class TextArray {
public:
  TextArray() = default;
  TextArray(std::initializer_list<Text> items) : items_(items) {}

  int Count() const { return static_cast<int>(items_.size()); }
  // 1-based; an index outside 1..Count() is a fatal program error.
  const Text &item(int index) const;
  Text &item(int index);
  void Append(const Text &text) { items_.push_back(text); }

  const std::vector<Text> &items() const { return items_; }
  bool operator==(const TextArray &) const = default;

private:
  std::vector<Text> items_;
};

// Text primitives.
int TextLength(const Text &text);
Text TextLeft(const Text &text, int n);
Text TextRight(const Text &text, int n);
Text TextMid(const Text &text, int position, int n);
int TextFind(const Text &text, const Text &sub, std::optional<int> start = std::nullopt,
             bool ignore_case = false);
int TextFindLast(const Text &text, const Text &sub, std::optional<int> start = std::nullopt,
                 bool ignore_case = false);
// Note the flag's sense: true compares exactly, false ignores ASCII case.
Text TextReplace(const Text &text, const Text &find,
                 std::optional<Text> replacement = std::nullopt,
                 std::optional<int> start = std::nullopt, std::optional<int> count = std::nullopt,
                 bool case_sensitive = true);
TextArray TextSplit(const Text &text, std::optional<Text> separator = std::nullopt,
                    std::optional<int> limit = std::nullopt);
Text TextTrim(const Text &text);
Text TextUpper(const Text &text);
Text TextLower(const Text &text);
bool TextStartsWith(const Text &text, const Text &prefix);
Text TextSpaces(int n);
Text CharFromCode(std::uint8_t code);
int CharCodeAt(const Text &text, std::optional<int> position = std::nullopt);
int TextCompare(const Text &a, const Text &b);

Text TextConcatList(std::initializer_list<std::string_view> parts);
template <class... Parts> Text TextConcat(const Parts &...parts) {
  return TextConcatList({std::string_view(parts)...});
}

// Conversions.
Text ToText(std::int32_t value);
Text ToText(std::uint8_t value);
Text ToText(double value);
Text ToText(const Bytes &bytes);
std::int32_t ToInt(const Text &text);
// Truncates toward zero; a value beyond the integer range gives the nearest
// end of the range, and not-a-number gives 0.
std::int32_t ToInt(double value);
std::uint8_t ToByte(std::int32_t value);
Bytes ToBytes(const Text &text);
Bytes ToBytes(std::int32_t value);
double ToNumber(bool flag);

// Bytes primitives.
int BytesLength(const Bytes &bytes);
Bytes BytesLeft(const Bytes &bytes, int n);
Bytes BytesMid(const Bytes &bytes, int position, int n);
Bytes BytesZeroed(int n);
Bytes BytesConcatList(std::initializer_list<const Bytes *> parts);
template <class... Parts> Bytes BytesConcat(const Parts &...parts) {
  return BytesConcatList({&parts...});
}
int BytesCompare(const Bytes &a, const Bytes &b, int n);
// 1-based single-byte access; outside 1..BytesLength is a fatal program error.
std::uint8_t BytesGet(const Bytes &bytes, int index);
void BytesSet(Bytes &bytes, int index, std::uint8_t value);

// BytesRead kinds: 1 byte, 2 int16, 3 int32, 4 int64, 5 float, 6 double,
// 7 flag, 8 date-time, 9 routine reference, 10 text. Integer kinds come back
// as int64_t, real kinds as double, kind 10 as Text. A flag and a routine
// reference are stored in 4 bytes, a date-time as a double; a text runs to the
// first zero byte or the end. Missing bytes read as zero.
using BytesValue = std::variant<std::int64_t, double, Text>;
BytesValue BytesRead(const Bytes &bytes, int kind, int position);

// Files and environment (Windows: wide-character file API after converting
// the path from code page 936).
Bytes FileReadAll(const Text &path);
bool FileWriteAllList(const Text &path, std::initializer_list<const Bytes *> parts);
template <class... Parts> bool FileWriteAll(const Text &path, const Parts &...parts) {
  return FileWriteAllList(path, {&parts...});
}
Text RunDirectory();

// Arithmetic.
double IntDivide(double a, double b);
double Modulo(double a, double b);
std::int32_t BitAndList(std::initializer_list<std::int32_t> values);
std::int32_t BitOrList(std::initializer_list<std::int32_t> values);
std::int32_t BitXorList(std::initializer_list<std::int32_t> values);
template <class... V> std::int32_t BitAnd(V... values) { return BitAndList({std::int32_t(values)...}); }
template <class... V> std::int32_t BitOr(V... values) { return BitOrList({std::int32_t(values)...}); }
template <class... V> std::int32_t BitXor(V... values) { return BitXorList({std::int32_t(values)...}); }
std::int32_t ShiftLeft(std::int32_t value, std::int32_t n);
std::int32_t ShiftRight(std::int32_t value, std::int32_t n);
double AbsValue(double value);
std::int32_t MakeRgb(std::int32_t red, std::int32_t green, std::int32_t blue);
