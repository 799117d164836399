// Member calls on automation objects: the name is bound through the object's
// type information, the arguments become VARIANTs shaped by the bound
// member's parameter description, and the result is converted to the kind the
// caller asked for. Every failure ends as the empty value of that kind.
#include "runtime/automation_win.h"

#include <oleauto.h>

#include <array>
#include <span>
#include <vector>

#include "runtime/automation.h"
#include "runtime/codepage.h"
#include "runtime/win_handles.h"

namespace {

enum class CallKind { method, property_write };

// The member a name bound to, and how to invoke it.
struct Binding {
  DISPID member = DISPID_UNKNOWN;
  WORD invoke_kind = 0;
  // Empty when the object had no type information and the name was looked up
  // by GetIDsOfNames: then nothing is known about the parameters.
  BoundMemberDescription description;
};

// A failed binding either means the object cannot describe itself (and the
// name may still be found by GetIDsOfNames) or that the name is unknown.
struct BindOutcome {
  HRESULT result = S_OK;
  bool type_information_missing = false;
};

SYSKIND library_syskind(ITypeInfo *info) {
  ComPtr<ITypeLib> library;
  UINT index = 0;
  if (SUCCEEDED(info->GetContainingTypeLib(library.put(), &index))) {
    TLIBATTR *attributes = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attributes)) && attributes) {
      const SYSKIND kind = attributes->syskind;
      library->ReleaseTLibAttr(attributes);
      return kind;
    }
  }
  return sizeof(void *) == 8 ? SYS_WIN64 : SYS_WIN32;
}

// The invoke kinds to try, in order, for a method call or a property write.
std::span<const WORD> bind_order(CallKind kind) {
  static constexpr std::array<WORD, 4> method_order = {INVOKE_FUNC, INVOKE_PROPERTYGET,
                                                       INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
  static constexpr std::array<WORD, 3> write_order = {INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF,
                                                      INVOKE_FUNC};
  if (kind == CallKind::method)
    return method_order;
  return write_order;
}

BindOutcome bind_by_type_information(IDispatch *dispatch, const std::u16string &name, CallKind kind,
                                     LCID locale, Binding &binding) {
  ComPtr<ITypeInfo> info;
  ComPtr<ITypeComp> comp;
  UINT count = 0;
  if (FAILED(dispatch->GetTypeInfoCount(&count)) || count == 0 ||
      FAILED(dispatch->GetTypeInfo(0, locale, info.put())) || !info ||
      FAILED(info->GetTypeComp(comp.put())) || !comp)
    return {E_NOTIMPL, true};

  auto *wide_name = const_cast<LPOLESTR>(reinterpret_cast<LPCOLESTR>(name.c_str()));
  const ULONG hash = LHashValOfNameSys(library_syskind(info.get()), locale, wide_name);
  for (const WORD flags : bind_order(kind)) {
    ComPtr<ITypeInfo> owner;
    DESCKIND found = DESCKIND_NONE;
    BINDPTR bound{};
    const HRESULT result = comp->Bind(wide_name, hash, flags, owner.put(), &found, &bound);
    binding.description.adopt(owner.release(), found, bound);
    if (FAILED(result))
      continue;
    if (found == DESCKIND_FUNCDESC && binding.description.function()) {
      binding.member = binding.description.function()->memid;
      binding.invoke_kind = static_cast<WORD>(binding.description.function()->invkind);
      return {};
    }
    if (found == DESCKIND_VARDESC && binding.description.variable()) {
      binding.member = binding.description.variable()->memid;
      binding.invoke_kind = kind == CallKind::method ? DISPATCH_PROPERTYGET : DISPATCH_PROPERTYPUT;
      return {};
    }
  }
  binding.description.reset();
  return {DISP_E_MEMBERNOTFOUND, false};
}

HRESULT bind_by_name(IDispatch *dispatch, const std::u16string &name, CallKind kind, LCID locale,
                     Binding &binding) {
  auto *wide_name = const_cast<LPOLESTR>(reinterpret_cast<LPCOLESTR>(name.c_str()));
  const HRESULT result = dispatch->GetIDsOfNames(IID_NULL, &wide_name, 1, locale, &binding.member);
  binding.invoke_kind =
      kind == CallKind::method ? DISPATCH_METHOD | DISPATCH_PROPERTYGET : DISPATCH_PROPERTYPUT;
  return result;
}

HRESULT bind_member(IDispatch *dispatch, const Text &name, CallKind kind, LCID locale,
                    Binding &binding) {
  const std::u16string wide_name = cp936_to_utf16(name);
  if (wide_name.empty())
    return DISP_E_UNKNOWNNAME;
  const BindOutcome outcome = bind_by_type_information(dispatch, wide_name, kind, locale, binding);
  if (outcome.type_information_missing)
    return bind_by_name(dispatch, wide_name, kind, locale, binding);
  return outcome.result;
}

HRESULT wide_to_variant(std::u16string_view wide, VARIANT &value) {
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR *>(wide.data()),
                                    static_cast<UINT>(wide.size()));
  return value.bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT object_to_variant(const AutoObject *object, VARIANT &value) {
  IUnknown *unknown = object ? object->get() : nullptr;
  value.vt = VT_DISPATCH;
  value.pdispVal = nullptr;
  if (!unknown)
    return S_OK;
  if (SUCCEEDED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&value.pdispVal))))
    return S_OK;
  value.vt = VT_UNKNOWN;
  value.punkVal = unknown;
  unknown->AddRef();
  return S_OK;
}

// The VARIANT an argument starts out as, before the parameter shapes it.
HRESULT argument_to_variant(const AutoArg &argument, VARIANT &value) {
  const AutoArg::Value &held = argument.value();
  if (std::holds_alternative<AutoOmitted>(held)) {
    value.vt = VT_ERROR;
    value.scode = DISP_E_PARAMNOTFOUND;
  } else if (auto text = std::get_if<std::string_view>(&held)) {
    return wide_to_variant(cp936_to_utf16(*text), value);
  } else if (auto wide = std::get_if<std::u16string_view>(&held)) {
    return wide_to_variant(*wide, value);
  } else if (auto flag = std::get_if<bool>(&held)) {
    value.vt = VT_BOOL;
    value.boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (auto i32 = std::get_if<std::int32_t>(&held)) {
    value.vt = VT_I4;
    value.lVal = *i32;
  } else if (auto i64 = std::get_if<std::int64_t>(&held)) {
    value.vt = VT_I4; // the low 32 bits, as 32-bit servers expect
    value.lVal = static_cast<std::int32_t>(static_cast<std::uint32_t>(*i64));
  } else if (auto real = std::get_if<double>(&held)) {
    value.vt = VT_R8;
    value.dblVal = *real;
  } else if (auto single = std::get_if<float>(&held)) {
    value.vt = VT_R4;
    value.fltVal = *single;
  } else if (auto byte = std::get_if<std::uint8_t>(&held)) {
    value.vt = VT_UI1;
    value.bVal = *byte;
  } else if (auto i16 = std::get_if<std::int16_t>(&held)) {
    value.vt = VT_I2;
    value.iVal = *i16;
  } else if (auto date = std::get_if<AutoDate>(&held)) {
    value.vt = VT_DATE;
    value.date = date->days;
  } else {
    return object_to_variant(std::get<const AutoObject *>(held), value);
  }
  return S_OK;
}

// What the bound member says about its parameters.
struct ParameterShape {
  bool described = false;
  int declared = 0;
  bool variable_count = false;
  const ELEMDESC *parameters = nullptr;
};

ParameterShape parameter_shape(const Binding &binding, CallKind kind) {
  ParameterShape shape;
  if (const FUNCDESC *function = binding.description.function()) {
    shape.described = true;
    shape.declared = function->cParams;
    shape.variable_count = function->cParamsOpt == -1;
    shape.parameters = function->lprgelemdescParam;
  } else if (const VARDESC *variable = binding.description.variable()) {
    shape.described = true;
    shape.declared = kind == CallKind::property_write ? 1 : 0;
    shape.parameters = &variable->elemdescVar;
  }
  return shape;
}

// The arguments of one call: the values we own, and what Invoke receives (in
// reverse order, and by reference where the parameter is a VARIANT).
class CallArguments {
public:
  explicit CallArguments(std::size_t count) : owned_(count), passed_(count) {}
  CallArguments(const CallArguments &) = delete;
  CallArguments &operator=(const CallArguments &) = delete;
  ~CallArguments() {
    for (VARIANT &value : owned_)
      VariantClear(&value);
  }

  HRESULT prepare(std::span<const AutoArg> arguments, const ParameterShape &shape) {
    const std::size_t count = owned_.size();
    for (std::size_t index = 0; index < count; ++index) {
      VARIANT &value = owned_[index];
      VariantInit(&value);
      const HRESULT result = argument_to_variant(arguments[index], value);
      if (FAILED(result))
        return result;
      VARIANT &slot = passed_[count - 1 - index];
      slot = value; // a view: owned_ keeps the value and clears it
      if (!shape.described || static_cast<int>(index) >= shape.declared ||
          arguments[index].omitted())
        continue;
      const VARTYPE declared = shape.parameters[index].tdesc.vt;
      if (declared == VT_VARIANT) {
        VariantInit(&slot);
        slot.vt = VT_BYREF | VT_VARIANT;
        slot.pvarVal = &value;
      } else if (declared != value.vt &&
                 SUCCEEDED(VariantChangeType(&value, &value, 0, declared))) {
        slot = value;
      }
    }
    return S_OK;
  }

  DISPPARAMS parameters(DISPID *named) {
    DISPPARAMS parameters{};
    parameters.rgvarg = passed_.empty() ? nullptr : passed_.data();
    parameters.cArgs = static_cast<UINT>(passed_.size());
    parameters.rgdispidNamedArgs = named;
    parameters.cNamedArgs = named ? 1 : 0;
    return parameters;
  }

private:
  std::vector<VARIANT> owned_;
  std::vector<VARIANT> passed_;
};

// Binds and invokes; the result VARIANT is filled on success.
HRESULT call_member(const AutoObject &object, const Text &name, CallKind kind,
                    std::span<const AutoArg> arguments, VARIANT *result) {
  if (!object.get())
    return E_POINTER;
  ComPtr<IDispatch> dispatch;
  HRESULT outcome = object.get()->QueryInterface(IID_IDispatch, dispatch.put_void());
  if (FAILED(outcome))
    return outcome;
  const LCID locale = GetUserDefaultLCID();
  Binding binding;
  outcome = bind_member(dispatch.get(), name, kind, locale, binding);
  if (FAILED(outcome))
    return outcome;

  while (!arguments.empty() && arguments.back().omitted())
    arguments = arguments.first(arguments.size() - 1);
  const ParameterShape shape = parameter_shape(binding, kind);
  if (shape.described && static_cast<int>(arguments.size()) > shape.declared &&
      !shape.variable_count)
    return DISP_E_BADPARAMCOUNT;

  CallArguments call(arguments.size());
  outcome = call.prepare(arguments, shape);
  if (FAILED(outcome))
    return outcome;
  DISPID property_put = DISPID_PROPERTYPUT;
  DISPPARAMS parameters =
      call.parameters(kind == CallKind::property_write ? &property_put : nullptr);
  return dispatch->Invoke(binding.member, IID_NULL, locale, binding.invoke_kind, &parameters,
                          result, nullptr, nullptr);
}

// Calls a method and converts its result to `type`; `converted` holds it.
HRESULT call_and_convert(const AutoObject &object, const Text &method, AutoArgs args, VARTYPE type,
                         ScopedVariant &converted) {
  ScopedVariant result;
  HRESULT outcome = call_member(object, method, CallKind::method,
                                std::span<const AutoArg>(args.begin(), args.size()), result.get());
  if (SUCCEEDED(outcome))
    outcome = VariantChangeType(converted.get(), result.get(), 0, type);
  set_automation_error(outcome);
  return outcome;
}

} // namespace

bool AutoSetProperty(const AutoObject &object, const Text &name, const AutoArg &value) {
  ScopedVariant result;
  const HRESULT outcome = call_member(object, name, CallKind::property_write,
                                      std::span<const AutoArg>(&value, 1), result.get());
  set_automation_error(outcome);
  return AutoLastError() == 0;
}

Text AutoCallText(const AutoObject &object, const Text &method, AutoArgs args) {
  ScopedVariant converted;
  if (FAILED(call_and_convert(object, method, args, VT_BSTR, converted)))
    return {};
  const BSTR text = converted.get()->bstrVal;
  std::u16string_view wide(reinterpret_cast<const char16_t *>(text), text ? SysStringLen(text) : 0);
  // Text ends at a zero character, as the engine's string would if it were
  // handed on as a C string.
  wide = wide.substr(0, wide.find(u'\0'));
  return utf16_to_cp936(wide);
}

double AutoCallNumber(const AutoObject &object, const Text &method, AutoArgs args) {
  ScopedVariant converted;
  if (FAILED(call_and_convert(object, method, args, VT_R8, converted)))
    return 0;
  return converted.get()->dblVal;
}

bool AutoCallBool(const AutoObject &object, const Text &method, AutoArgs args) {
  ScopedVariant converted;
  if (FAILED(call_and_convert(object, method, args, VT_BOOL, converted)))
    return false;
  return converted.get()->boolVal != VARIANT_FALSE;
}
