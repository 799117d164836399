// Scoped owners for every platform resource the program holds: move-only,
// copying deleted, the raw value through get(). Windows-only; include after
// <windows.h>.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <wininet.h>

#include <utility>

// A resource with a traits type giving its raw type, its empty value and how
// it is released.
template <class Traits> class UniqueResource {
public:
  using Raw = typename Traits::Raw;

  UniqueResource() = default;
  explicit UniqueResource(Raw raw) : raw_(raw) {}
  UniqueResource(const UniqueResource &) = delete;
  UniqueResource &operator=(const UniqueResource &) = delete;
  UniqueResource(UniqueResource &&other) noexcept : raw_(other.release()) {}
  UniqueResource &operator=(UniqueResource &&other) noexcept {
    if (this != &other)
      reset(other.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  Raw get() const { return raw_; }
  explicit operator bool() const { return raw_ != Traits::empty(); }
  Raw release() { return std::exchange(raw_, Traits::empty()); }
  void reset(Raw raw = Traits::empty()) {
    Raw old = std::exchange(raw_, raw);
    if (old != Traits::empty())
      Traits::close(old);
  }

private:
  Raw raw_ = Traits::empty();
};

struct KernelHandleTraits {
  using Raw = HANDLE;
  static Raw empty() { return INVALID_HANDLE_VALUE; }
  static void close(Raw raw) { CloseHandle(raw); }
};
using KernelHandle = UniqueResource<KernelHandleTraits>;

struct InternetHandleTraits {
  using Raw = HINTERNET;
  static Raw empty() { return nullptr; }
  static void close(Raw raw) { InternetCloseHandle(raw); }
};
using InternetHandle = UniqueResource<InternetHandleTraits>;

// A DC made with CreateCompatibleDC / CreateDC: released by DeleteDC.
struct MemoryDcTraits {
  using Raw = HDC;
  static Raw empty() { return nullptr; }
  static void close(Raw raw) { DeleteDC(raw); }
};
using MemoryDc = UniqueResource<MemoryDcTraits>;

// A DC obtained with GetDC(window): released by ReleaseDC with that window.
class WindowDc {
public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc &) = delete;
  WindowDc &operator=(const WindowDc &) = delete;
  ~WindowDc() {
    if (dc_)
      ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

private:
  HWND window_;
  HDC dc_;
};

// Pens, brushes, bitmaps, fonts, regions: released by DeleteObject.
template <class Object> struct GdiObjectTraits {
  using Raw = Object;
  static Raw empty() { return nullptr; }
  static void close(Raw raw) { DeleteObject(raw); }
};
template <class Object> using GdiObject = UniqueResource<GdiObjectTraits<Object>>;
using GdiBitmap = GdiObject<HBITMAP>;
using GdiBrush = GdiObject<HBRUSH>;
using GdiPen = GdiObject<HPEN>;
using GdiFont = GdiObject<HFONT>;

// Selects an object into a DC and puts the previous one back on scope exit,
// so the object can be deleted afterwards.
class SelectionGuard {
public:
  SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectionGuard(const SelectionGuard &) = delete;
  SelectionGuard &operator=(const SelectionGuard &) = delete;
  ~SelectionGuard() {
    if (previous_ && previous_ != HGDI_ERROR)
      SelectObject(dc_, previous_);
  }

private:
  HDC dc_;
  HGDIOBJ previous_;
};

// One counted COM interface reference.
template <class Interface> class ComPtr {
public:
  ComPtr() = default;
  ComPtr(const ComPtr &) = delete;
  ComPtr &operator=(const ComPtr &) = delete;
  ComPtr(ComPtr &&other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
  ComPtr &operator=(ComPtr &&other) noexcept {
    if (this != &other) {
      reset();
      raw_ = std::exchange(other.raw_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }

  Interface *get() const { return raw_; }
  Interface *operator->() const { return raw_; }
  explicit operator bool() const { return raw_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  Interface **put() {
    reset();
    return &raw_;
  }
  void **put_void() { return reinterpret_cast<void **>(put()); }
  void reset() {
    if (raw_)
      std::exchange(raw_, nullptr)->Release();
  }
  Interface *release() { return std::exchange(raw_, nullptr); }
  // Takes a further reference to an interface we do not own.
  static ComPtr copy_of(Interface *raw) {
    ComPtr result;
    if (raw) {
      raw->AddRef();
      result.raw_ = raw;
    }
    return result;
  }

private:
  Interface *raw_ = nullptr;
};

// CoInitialize / CoUninitialize paired for one scope.
class ComInit {
public:
  ComInit() : result_(CoInitialize(nullptr)) {}
  ComInit(const ComInit &) = delete;
  ComInit &operator=(const ComInit &) = delete;
  ~ComInit() {
    if (SUCCEEDED(result_))
      CoUninitialize();
  }
  bool ok() const { return SUCCEEDED(result_); }

private:
  HRESULT result_;
};

struct BstrTraits {
  using Raw = BSTR;
  static Raw empty() { return nullptr; }
  static void close(Raw raw) { SysFreeString(raw); }
};
using Bstr = UniqueResource<BstrTraits>;

// A VARIANT cleared on scope exit.
class ScopedVariant {
public:
  ScopedVariant() { VariantInit(&value_); }
  ScopedVariant(const ScopedVariant &) = delete;
  ScopedVariant &operator=(const ScopedVariant &) = delete;
  ~ScopedVariant() { VariantClear(&value_); }
  VARIANT *get() { return &value_; }
  const VARIANT *get() const { return &value_; }

private:
  VARIANT value_;
};

// A member description that ITypeComp::Bind hands out (a FUNCDESC or a
// VARDESC), given back to the type information that made it.
class BoundMemberDescription {
public:
  BoundMemberDescription() = default;
  BoundMemberDescription(const BoundMemberDescription &) = delete;
  BoundMemberDescription &operator=(const BoundMemberDescription &) = delete;
  ~BoundMemberDescription() { reset(); }

  // Takes over what a successful Bind returned.
  void adopt(ITypeInfo *owner, DESCKIND kind, BINDPTR bound) {
    reset();
    owner_ = owner;
    if (kind == DESCKIND_FUNCDESC)
      function_ = bound.lpfuncdesc;
    else if (kind == DESCKIND_VARDESC || kind == DESCKIND_IMPLICITAPPOBJ)
      variable_ = bound.lpvardesc;
    else if (kind == DESCKIND_TYPECOMP && bound.lptcomp)
      bound.lptcomp->Release();
  }
  const FUNCDESC *function() const { return function_; }
  const VARDESC *variable() const { return variable_; }
  void reset() {
    if (owner_) {
      if (function_)
        owner_->ReleaseFuncDesc(function_);
      if (variable_)
        owner_->ReleaseVarDesc(variable_);
      owner_->Release();
    }
    owner_ = nullptr;
    function_ = nullptr;
    variable_ = nullptr;
  }

private:
  ITypeInfo *owner_ = nullptr;
  FUNCDESC *function_ = nullptr;
  VARDESC *variable_ = nullptr;
};

#include <ole2.h>
#include <propidl.h>

// A cursor made from a cursor file's bytes: released by DestroyCursor.
struct CursorHandleTraits {
  using Raw = HCURSOR;
  static Raw empty() { return nullptr; }
  static void close(Raw raw) { DestroyCursor(raw); }
};
using CursorHandle = UniqueResource<CursorHandleTraits>;

// OleInitialize / OleUninitialize paired for the GUI thread's lifetime.
class OleInit {
public:
  OleInit() : result_(OleInitialize(nullptr)) {}
  OleInit(const OleInit &) = delete;
  OleInit &operator=(const OleInit &) = delete;
  ~OleInit() {
    if (SUCCEEDED(result_))
      OleUninitialize();
  }
  bool ok() const { return SUCCEEDED(result_); }

private:
  HRESULT result_;
};

// A PROPVARIANT cleared on scope exit.
class ScopedPropVariant {
public:
  ScopedPropVariant() { PropVariantInit(&value_); }
  ScopedPropVariant(const ScopedPropVariant &) = delete;
  ScopedPropVariant &operator=(const ScopedPropVariant &) = delete;
  ~ScopedPropVariant() { PropVariantClear(&value_); }
  PROPVARIANT *get() { return &value_; }
  const PROPVARIANT *get() const { return &value_; }

private:
  PROPVARIANT value_;
};

// BeginPaint / EndPaint paired for one WM_PAINT.
class PaintDc {
public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDc(const PaintDc &) = delete;
  PaintDc &operator=(const PaintDc &) = delete;
  ~PaintDc() { EndPaint(window_, &paint_); }
  HDC get() const { return dc_; }

private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};
