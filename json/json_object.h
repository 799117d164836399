// JsonObject: a JSON document held as a global variable ("da") of a
// JavaScript engine (the script control, reached through COM automation),
// read and changed by path through short generated scripts.
//
// A path is a JavaScript member expression relative to the document, such as
// words_result[0].words; "[0]" indexes the document itself and the empty path
// names the document. No operation reports an error: an object without
// engine, a script error or an absent value gives the empty value of the
// result (false, empty Text, 0, an empty TextArray).
//
// parse accepts JSON texts only and never runs what it is given; paths,
// expressions and the as_json values of the edits are script source written
// by the program itself.
#pragma once

#include <cstdint>

#include "runtime/automation.h"
#include "runtime/text.h"

class JsonObject {
public:
  // Starts an engine holding an empty document; whether that worked shows
  // only in the results of later calls.
  JsonObject();
  JsonObject(JsonObject &&other) noexcept = default;
  JsonObject &operator=(JsonObject &&other) noexcept;
  JsonObject(const JsonObject &) = delete;
  JsonObject &operator=(const JsonObject &) = delete;
  ~JsonObject() { destroy(); }

  // The operations, in their fixed slot order.

  // 0: releases this reference to the engine and this object's COM
  // initialisation. Later calls give empty values.
  void destroy();
  // 1: a second object on the same engine, so on the same document.
  JsonObject copy() const;
  // 2: COM, a new engine, the embedded script and an empty document.
  void init_engine();
  // 3: loads a JSON text into a fresh engine; true when the document is
  // neither null nor undefined. Anything but JSON leaves the document null.
  bool parse(const Text &json);
  // 4: makes the document an empty object.
  bool clear();
  // 5: the whole document as JSON.
  Text to_json() const;
  // 6: text mode stores `value` as a string; JSON mode assigns the source, or
  // merges it into an existing value.
  bool set_value(const Text &path, const Text &value, bool as_json = false);
  // 7: sets the path to the value of a script expression.
  bool set_expression(const Text &path, const Text &expression);
  // 8: rewrites `path` into a script expression on the document; true when
  // its value is neither null nor undefined.
  bool resolve_path(Text &path) const;
  // 9: 0 absent or null, 1 boolean, 2 number, 4 object, 5 array, 6 string,
  // -1 anything else or a missing member on the way.
  std::int32_t type_of(const Text &path) const;
  // 10: the value as text (plain mode) or as JSON.
  Text get_text(const Text &path, bool as_json = false) const;
  // 11: replaces `names` with the object's member names; their count.
  std::int32_t member_names(TextArray &names, const Text &path) const;
  // 12: the number of elements of an array, else 0.
  std::int32_t array_length(const Text &path) const;
  // 13: a new, independent object holding a copy of the value.
  JsonObject get_object(const Text &path) const;
  // 14: appends to the array at the path, making it an array first.
  bool push(const Text &value, const Text &path, bool as_json = false);
  // 15: a new, independent object holding a copy of one element.
  JsonObject get_element_object(std::int32_t index, const Text &path) const;
  // 16: one element as text (strings only) or as JSON.
  Text get_element_text(std::int32_t index, const Text &path, bool as_json = false) const;
  // 17: assigns one element.
  bool set_element(std::int32_t index, const Text &path, const Text &value, bool as_json = false);
  // 18: removes one element.
  bool remove_element(std::int32_t index, const Text &path);
  // 19: deletes the member; true when it is gone.
  bool remove(const Text &path);
  // 20: sets the path to a number; the result is the number as a flag.
  bool set_number(const Text &path, double number);
  // 21: the value as a real number.
  double get_number(const Text &path) const;
  // 22: the value as JSON.
  Text get_json(const Text &path) const;
  // 23: a new reference to the engine, empty when there is none.
  AutoObject get_engine() const;

private:
  struct Unstarted {};
  explicit JsonObject(Unstarted) {}

  // Puts a JSON text into this object's engine as the document.
  bool load(const Text &json);
  Text resolved(const Text &path) const;
  bool eval_bool(const Text &script) const;
  Text eval_text(const Text &script) const;
  double eval_number(const Text &script) const;
  Text stringified(const Text &expression) const;
  JsonObject independent_copy(const Text &expression) const;

  Text var_name_;
  AutoObject engine_;
  // COM stays initialised on this thread for as long as the object may hold
  // an engine reference; one initialisation per object, however often the
  // engine is replaced.
  AutoComScope com_;
};
