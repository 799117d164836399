// JsonObject's readers: path resolution and every query of the document.
// The script texts are what the engine receives.
#include "json/json_object.h"

namespace {

// Every text read out of the engine turns the stand-in character for a
// backslash (see set_value) back into a backslash.
constexpr const char *restore_backslashes = ".replace(str_reg, '\\\\')";

} // namespace

bool JsonObject::resolve_path(Text &path) const {
  if (TextStartsWith(path, var_name_) && eval_bool(TextConcat(path, " != null")))
    return true;
  if (path.empty())
    path = var_name_;
  else if (path.front() == '[')
    path = TextConcat(var_name_, path);
  else
    path = TextConcat(var_name_, ".", path);
  return eval_bool(TextConcat(path, " != null"));
}

Text JsonObject::resolved(const Text &path) const {
  Text expression = path;
  resolve_path(expression);
  return expression;
}

Text JsonObject::stringified(const Text &expression) const {
  return eval_text(TextConcat("JSON.stringify(", expression, ")", restore_backslashes));
}

Text JsonObject::to_json() const {
  return stringified(var_name_);
}

std::int32_t JsonObject::type_of(const Text &path) const {
  const Text expression = resolved(path);
  if (eval_bool(TextConcat(expression, " == null")))
    return 0;
  const Text kind = eval_text(TextConcat("Object.prototype.toString.call(", expression, ")"));
  static constexpr struct {
    const char *text;
    std::int32_t code;
  } kinds[] = {{"[object String]", 6},
               {"[object Array]", 5},
               {"[object Object]", 4},
               {"[object Number]", 2},
               {"[object Boolean]", 1}};
  for (const auto &entry : kinds)
    if (kind == entry.text)
      return entry.code;
  return -1;
}

Text JsonObject::get_text(const Text &path, bool as_json) const {
  const Text expression = resolved(path);
  if (as_json)
    return stringified(expression);
  return eval_text(TextConcat(expression, ".toString()", restore_backslashes));
}

std::int32_t JsonObject::member_names(TextArray &names, const Text &path) const {
  const Text joined = eval_text(TextConcat("get__name_All(", resolved(path), ")"));
  names = TextSplit(joined, Text("\r\n"));
  return names.Count();
}

std::int32_t JsonObject::array_length(const Text &path) const {
  return ToInt(eval_number(TextConcat("get__count(", resolved(path), ")")));
}

// The copy is made from the engine's own JSON text with every character
// beyond ASCII written as a \u escape: the text then passes through code page
// 936 unchanged, and the copy holds exactly the strings held here, backslash
// stand-ins included (turning those back here would make their backslashes
// start escapes in the copy).
JsonObject JsonObject::independent_copy(const Text &expression) const {
  const Text json = eval_text(TextConcat(
      "JSON.stringify(", expression,
      ").replace(/[\\u0080-\\uffff]/g, function (c) { var h = c.charCodeAt(0).toString(16); "
      "return '\\\\u' + '0000'.substring(h.length) + h })"));
  JsonObject fresh{Unstarted{}};
  fresh.var_name_ = "da";
  fresh.init_engine();
  if (!AutoIsEmpty(fresh.engine_))
    fresh.load(json);
  return fresh;
}

JsonObject JsonObject::get_object(const Text &path) const {
  return independent_copy(resolved(path));
}

JsonObject JsonObject::get_element_object(std::int32_t index, const Text &path) const {
  return independent_copy(TextConcat(resolved(path), "[", ToText(index), "]"));
}

Text JsonObject::get_element_text(std::int32_t index, const Text &path, bool as_json) const {
  const Text element = TextConcat(resolved(path), "[", ToText(index), "]");
  if (as_json)
    return stringified(element);
  return eval_text(TextConcat(element, restore_backslashes));
}

double JsonObject::get_number(const Text &path) const {
  return eval_number(resolved(path));
}

Text JsonObject::get_json(const Text &path) const {
  return stringified(resolved(path));
}
