// The native half of the code-page conversions, over iconv. glibc's CP936
// agrees with Windows' code page 936 (without best fit) on every character
// outside the user-defined areas, which the shared code handles.
#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

#include "runtime/codepage_runs.h"

namespace {

constexpr const char *utf16_name =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
public:
  Converter(const char *to, const char *from) : handle_(iconv_open(to, from)) {}
  Converter(const Converter &) = delete;
  Converter &operator=(const Converter &) = delete;
  ~Converter() {
    if (ok())
      iconv_close(handle_);
  }
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of [in, in + in_size) as it can into out (which must be
  // large enough); returns false at an unconvertible or cut-off sequence.
  bool convert(const char *&in, std::size_t &in_size, char *&out, std::size_t &out_size) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char *source = const_cast<char *>(in);
    std::size_t result = iconv(handle_, &source, &in_size, &out, &out_size);
    in = source;
    return result != static_cast<std::size_t>(-1);
  }

private:
  iconv_t handle_;
};

Converter &converter(int which) {
  thread_local Converter from_cp936(utf16_name, "CP936");
  thread_local Converter to_cp936("CP936", utf16_name);
  thread_local Converter from_utf8(utf16_name, "UTF-8");
  thread_local Converter to_utf8("UTF-8", utf16_name);
  Converter *all[] = {&from_cp936, &to_cp936, &from_utf8, &to_utf8};
  return *all[which];
}
enum { from_cp936_index, to_cp936_index, from_utf8_index, to_utf8_index };

// Runs `converter` over the whole input. Where it stops, `skip` gives how many
// input bytes the bad character takes and the `replacement` bytes are
// written in its place.
std::size_t convert_all(Converter &conv, const char *in, std::size_t in_size, char *out,
                        std::size_t out_size, std::size_t (*skip)(const char *, std::size_t),
                        std::string_view replacement) {
  char *const out_start = out;
  while (in_size > 0) {
    if (conv.ok() && conv.convert(in, in_size, out, out_size))
      break;
    std::size_t bad = skip(in, in_size);
    std::memcpy(out, replacement.data(), replacement.size());
    out += replacement.size();
    out_size -= replacement.size();
    in += bad;
    in_size -= bad;
  }
  return static_cast<std::size_t>(out - out_start);
}

std::size_t skip_cp936_character(const char *in, std::size_t size) {
  return static_cast<unsigned char>(in[0]) > 0x80 && size >= 2 ? 2 : 1;
}
std::size_t skip_utf16_unit(const char *, std::size_t size) {
  return size >= 2 ? 2 : size;
}
std::size_t skip_utf8_character(const char *in, std::size_t size) {
  std::size_t step = 1;
  while (step < size && (static_cast<unsigned char>(in[step]) & 0xC0) == 0x80)
    ++step;
  return step;
}

std::string_view replacement_utf16() {
  static const char16_t unit = 0xFFFD;
  return {reinterpret_cast<const char *>(&unit), sizeof unit};
}

void append_as_utf16(int which, std::string_view run, std::u16string &out,
                     std::size_t (*skip)(const char *, std::size_t)) {
  // Every input byte gives at most one UTF-16 unit.
  const std::size_t old_size = out.size();
  out.resize(old_size + run.size());
  std::size_t written = convert_all(converter(which), run.data(), run.size(),
                                    reinterpret_cast<char *>(&out[old_size]), run.size() * 2, skip,
                                    replacement_utf16());
  out.resize(old_size + written / 2);
}

void append_from_utf16(int which, std::u16string_view run, std::string &out,
                       std::size_t bytes_per_unit, std::string_view replacement) {
  const std::size_t old_size = out.size();
  out.resize(old_size + run.size() * bytes_per_unit);
  std::size_t written =
      convert_all(converter(which), reinterpret_cast<const char *>(run.data()), run.size() * 2,
                  &out[old_size], run.size() * bytes_per_unit, skip_utf16_unit, replacement);
  out.resize(old_size + written);
}

} // namespace

void append_cp936_run_as_utf16(std::string_view run, std::u16string &out) {
  append_as_utf16(from_cp936_index, run, out, skip_cp936_character);
}

void append_utf8_run_as_utf16(std::string_view run, std::u16string &out) {
  append_as_utf16(from_utf8_index, run, out, skip_utf8_character);
}

void append_utf16_run_as_cp936(std::u16string_view run, std::string &out) {
  append_from_utf16(to_cp936_index, run, out, 2, "?");
}

void append_utf16_run_as_utf8(std::u16string_view run, std::string &out) {
  append_from_utf16(to_utf8_index, run, out, 3, "\xEF\xBF\xBD");
}
