// JsonObject's life: the engine and its set-up, copies, destruction, and
// loading a document.
#include "json/json_object.h"

#include <string>

#include "runtime/codepage.h"
#include "json/json_grammar.h"

extern const unsigned char json_object_script[];
extern const unsigned long json_object_script_size;

namespace {

const Text &embedded_script() {
  static const Text script(reinterpret_cast<const char *>(json_object_script),
                           json_object_script_size);
  return script;
}

} // namespace

JsonObject::JsonObject() : var_name_("da") {
  init_engine();
}

JsonObject &JsonObject::operator=(JsonObject &&other) noexcept {
  if (this != &other) {
    destroy();
    var_name_ = std::move(other.var_name_);
    engine_ = std::move(other.engine_);
    com_ = std::move(other.com_);
  }
  return *this;
}

void JsonObject::destroy() {
  // The engine goes before COM does.
  AutoClear(engine_);
  com_.leave();
  var_name_.clear();
}

JsonObject JsonObject::copy() const {
  JsonObject twin{Unstarted{}};
  twin.var_name_ = var_name_;
  // The copy may outlive this object, so it keeps COM up by itself.
  twin.com_.enter();
  AutoCopy(twin.engine_, engine_);
  return twin;
}

void JsonObject::init_engine() {
  com_.enter();
  if (!AutoCreate(engine_, "MSScriptControl.ScriptControl"))
    return;
  AutoSetProperty(engine_, "Language", "JavaScript");
  AutoCallBool(engine_, "AddCode", {embedded_script()});
  eval_bool(
      TextConcat("var ", var_name_,
                 " = {}, str_Code = String.fromCharCode(9216), str_reg = new RegExp(str_Code, "
                 "'g')"));
}

bool JsonObject::parse(const Text &json) {
  if (!AutoIsEmpty(engine_)) {
    AutoClear(engine_);
    init_engine();
  }
  if (AutoIsEmpty(engine_))
    return false;
  return load(json);
}

bool JsonObject::load(const Text &json) {
  eval_bool(TextConcat("var ", var_name_, " = null"));
  // The engine gets exactly the characters that were checked: the text is
  // converted once and handed over as it is. Only a JSON text is evaluated,
  // and in parentheses, so that a string is a value and never a program.
  const std::u16string text = cp936_to_utf16(json);
  if (json_text_is_valid(text)) {
    const std::u16string script = u"var " + cp936_to_utf16(var_name_) + u" = (" + text + u")";
    AutoCallBool(engine_, "AddCode", {script});
  }
  return eval_bool(TextConcat(var_name_, " != null"));
}

AutoObject JsonObject::get_engine() const {
  AutoObject engine;
  AutoCopy(engine, engine_);
  return engine;
}

bool JsonObject::eval_bool(const Text &script) const {
  return AutoCallBool(engine_, "Eval", {script});
}

Text JsonObject::eval_text(const Text &script) const {
  return AutoCallText(engine_, "Eval", {script});
}

double JsonObject::eval_number(const Text &script) const {
  return AutoCallNumber(engine_, "Eval", {script});
}
