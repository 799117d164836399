// The picture box: a window class of the layer's own that keeps the bytes it
// was given, shows the decoded image in its display mode and animates GIFs.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "runtime/picture.h"
#include "runtime/win_handles.h"
#include "runtime/window.h"

struct PictureBoxState {
  Bytes bytes; // exactly what was written, read back unchanged
  std::vector<PictureFrame> frames;
  std::size_t frame = 0;
  PictureMode mode = PictureMode::Natural;
  bool animate = false;
  // The current frame over the box's background, at natural size, and the
  // same shrunk for the fitted mode; both made once per frame and size.
  GdiBitmap frame_bitmap;
  GdiBitmap fitted_bitmap;
  int fitted_width = 0;
  int fitted_height = 0;
};

extern const wchar_t kPictureBoxClass[];
void register_picture_box_class();
// Called right after the box is created; the state outlives the window.
void attach_picture_box(HWND hwnd, PictureBoxState &state);
void show_picture(HWND hwnd, PictureBoxState &state, const Bytes &bytes);
