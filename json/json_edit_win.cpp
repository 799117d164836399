// JsonObject's edits. Each composes one script and returns what the engine's
// statement yields, taken as a flag.
#include "json/json_object.h"

#include <charconv>
#include <cmath>
#include <string>

#include "runtime/codepage.h"

namespace {

// The text as the body of a single-quoted script literal. Done on the
// characters the engine will see, so that no byte pair of code page 936 can
// hide a quote from the escaping.
std::u16string single_quoted_body(std::u16string_view text) {
  std::u16string body;
  body.reserve(text.size() + text.size() / 8);
  for (const char16_t c : text) {
    switch (c) {
    case u'\\':
      body += u"\\\\";
      break;
    case u'\'':
      body += u"\\'";
      break;
    case u'"':
      body += u"\\\"";
      break;
    case u'\r':
      body += u"\\r";
      break;
    case u'\n':
      body += u"\\n";
      break;
    case u'\u2028':
      body += u"\\u2028";
      break;
    case u'\u2029':
      body += u"\\u2029";
      break;
    default:
      body += c;
    }
  }
  return body;
}

// A value for push and set_element: JSON mode passes the source; text mode
// puts the text between single quotes as it is. A text holding a quote byte
// could end the literal early and go on as script, so it is refused.
bool element_source(const Text &value, bool as_json, Text &source) {
  if (as_json) {
    source = value;
    return true;
  }
  if (value.find('\'') != Text::npos)
    return false;
  source = TextConcat("'", value, "'");
  return true;
}

// The shortest script literal that gives back exactly this number.
Text number_literal(double number) {
  if (std::isnan(number))
    return "NaN";
  if (std::isinf(number))
    return number < 0 ? "-Infinity" : "Infinity";
  char buffer[32];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, number);
  return Text(buffer, written.ptr);
}

} // namespace

bool JsonObject::clear() {
  return eval_bool(TextConcat(var_name_, " = {}"));
}

bool JsonObject::set_value(const Text &path, const Text &value, bool as_json) {
  Text expression = path;
  const bool found = resolve_path(expression);
  if (as_json) {
    // An empty value stands for an empty object on both branches. A JSON
    // source is taken as a value in parentheses, so that a string is stored
    // as a string and not run.
    const Text source = value.empty() ? Text("{}") : value;
    if (found)
      return eval_bool(TextConcat(expression, " = get__extend(", expression, ", ", source, ")"));
    return eval_bool(TextConcat(expression, " = (", source, ")"));
  }
  // Backslashes are kept in the engine as the stand-in character, which the
  // readers turn back.
  const std::u16string script = cp936_to_utf16(expression) + u" = '" +
                                single_quoted_body(cp936_to_utf16(value)) +
                                u"'.replace(/\\\\/g, str_Code)";
  return AutoCallBool(engine_, "Eval", {script});
}

bool JsonObject::set_expression(const Text &path, const Text &expression) {
  // In parentheses rather than through eval, so a string-valued expression
  // is stored, not evaluated a second time as a program.
  return eval_bool(TextConcat(resolved(path), " = (", expression, ")"));
}

bool JsonObject::push(const Text &value, const Text &path, bool as_json) {
  Text source;
  if (!element_source(value, as_json, source))
    return false;
  const Text expression = resolved(path);
  return eval_bool(TextConcat("if (Object.prototype.toString.call(", expression,
                              ") != '[object Array]') { ", expression, " = new Array() } ",
                              expression, ".push(", source, ")"));
}

bool JsonObject::set_element(std::int32_t index, const Text &path, const Text &value,
                             bool as_json) {
  Text source;
  if (!element_source(value, as_json, source))
    return false;
  return eval_bool(TextConcat(resolved(path), "[", ToText(index), "] = ", source));
}

bool JsonObject::remove_element(std::int32_t index, const Text &path) {
  return eval_bool(TextConcat(resolved(path), ".splice(", ToText(index), ", 1)"));
}

bool JsonObject::remove(const Text &path) {
  return eval_bool(TextConcat("delete ", resolved(path)));
}

bool JsonObject::set_number(const Text &path, double number) {
  return eval_bool(TextConcat(resolved(path), " = ", number_literal(number)));
}
