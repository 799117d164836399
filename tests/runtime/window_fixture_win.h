// Shared by the window layer's tests under Wine: OLE for the thread, and
// every window gone (with the quit message its destruction posts drained)
// after each test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/win_handles.h"
#include "runtime/window.h"

class WindowTest : public testing::Test {
protected:
  void TearDown() override {
    for (Window *window : windows_)
      if (window->loaded())
        DestroyWindow(static_cast<HWND>(WindowHandle(window->self())));
    drain_quit();
  }

  // Windows made here are destroyed after the test.
  Window &make(WindowForm form) {
    owned_.push_back(std::make_unique<Window>(std::move(form)));
    windows_.push_back(owned_.back().get());
    return *owned_.back();
  }

  static bool quit_pending() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
  }

  static void drain_quit() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  static HWND hwnd_of(Widget widget) { return static_cast<HWND>(WindowHandle(widget)); }

  static WindowForm plain_form(int left = 100, int top = 120, int width = 400, int height = 300) {
    WindowForm form;
    form.caption = "test";
    form.left = left;
    form.top = top;
    form.width = width;
    form.height = height;
    return form;
  }

  OleInit ole_;
  std::vector<std::unique_ptr<Window>> owned_;
  std::vector<Window *> windows_;
};
