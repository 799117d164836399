// Automation object variables, instance creation and the per-thread error.
#include "runtime/automation_win.h"

#include <ole2.h>

#include <utility>

#include "runtime/automation.h"
#include "runtime/codepage.h"
#include "runtime/win_handles.h"

namespace {

thread_local std::int32_t last_automation_error = 0;

// A class identifier from "{...}" or from a ProgID.
HRESULT class_from_name(const Text &name, CLSID &clsid) {
  const std::u16string wide = cp936_to_utf16(name);
  if (wide.empty())
    return CO_E_CLASSSTRING;
  const auto *text = reinterpret_cast<LPCOLESTR>(wide.c_str());
  if (wide.front() == u'{')
    return CLSIDFromString(text, &clsid);
  return CLSIDFromProgID(text, &clsid);
}

// Every server context first; some systems refuse the remote one outright.
HRESULT create_instance(const CLSID &clsid, ComPtr<IUnknown> &instance) {
  constexpr DWORD local_contexts =
      CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
  HRESULT result = CoCreateInstance(clsid, nullptr, local_contexts | CLSCTX_REMOTE_SERVER,
                                    IID_IUnknown, instance.put_void());
  if (result == E_INVALIDARG)
    result = CoCreateInstance(clsid, nullptr, local_contexts, IID_IUnknown, instance.put_void());
  return result;
}

} // namespace

void set_automation_error(HRESULT result) {
  last_automation_error = SUCCEEDED(result) ? 0 : static_cast<std::int32_t>(result);
}

std::int32_t AutoLastError() {
  return last_automation_error;
}

AutoObject::AutoObject(AutoObject &&other) noexcept
    : unknown_(std::exchange(other.unknown_, nullptr)) {}

AutoObject &AutoObject::operator=(AutoObject &&other) noexcept {
  if (this != &other)
    adopt(std::exchange(other.unknown_, nullptr));
  return *this;
}

AutoObject::~AutoObject() {
  adopt(nullptr);
}

void AutoObject::adopt(IUnknown *unknown) {
  IUnknown *previous = std::exchange(unknown_, unknown);
  if (previous)
    previous->Release();
}

bool AutoCreate(AutoObject &object, const Text &prog_id) {
  CLSID clsid;
  HRESULT result = class_from_name(prog_id, clsid);
  ComPtr<IUnknown> instance;
  if (SUCCEEDED(result))
    result = create_instance(clsid, instance);
  if (SUCCEEDED(result))
    result = OleRun(instance.get());
  set_automation_error(result);
  if (FAILED(result))
    return false;
  object.adopt(instance.release());
  return true;
}

void AutoCopy(AutoObject &destination, const AutoObject &source) {
  if (&destination == &source)
    return;
  destination.adopt(ComPtr<IUnknown>::copy_of(source.get()).release());
}

void AutoClear(AutoObject &object) {
  object.adopt(nullptr);
}

bool AutoIsEmpty(const AutoObject &object) {
  return object.get() == nullptr;
}

AutoComScope::AutoComScope(AutoComScope &&other) noexcept
    : entered_(std::exchange(other.entered_, false)),
      initialised_(std::exchange(other.initialised_, false)) {}

AutoComScope &AutoComScope::operator=(AutoComScope &&other) noexcept {
  if (this != &other) {
    leave();
    entered_ = std::exchange(other.entered_, false);
    initialised_ = std::exchange(other.initialised_, false);
  }
  return *this;
}

void AutoComScope::enter() {
  if (entered_)
    return;
  entered_ = true;
  // A thread already in another apartment model refuses; the objects still
  // work there, and there is nothing of ours to undo later.
  initialised_ = SUCCEEDED(CoInitialize(nullptr));
}

void AutoComScope::leave() {
  if (entered_ && initialised_)
    CoUninitialize();
  entered_ = false;
  initialised_ = false;
}
