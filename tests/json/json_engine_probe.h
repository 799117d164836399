// Looks into a JsonObject's engine directly, past the object's own operations.
#pragma once

#include "runtime/automation.h"
#include "json/json_object.h"

inline Text engine_eval_text(const JsonObject &document, const Text &script) {
  const AutoObject engine = document.get_engine();
  return AutoCallText(engine, "Eval", {script});
}

// "undefined" when the engine has no global of that name.
inline Text engine_typeof(const JsonObject &document, const Text &name) {
  return engine_eval_text(document, "typeof " + name);
}
