#include "runtime/window_picture_win.h"

#include <algorithm>
#include <cstring>

extern const wchar_t kPictureBoxClass[] = L"LumiscribePicture";

namespace {

constexpr UINT_PTR kAnimationTimer = 1;
// Browsers give GIF frames that ask for no delay (or almost none) a tenth of
// a second, so such files do not spin.
constexpr int kShortestFrameMs = 20;
constexpr int kDefaultFrameMs = 100;

COLORREF background_colour() {
  return GetSysColor(COLOR_BTNFACE);
}

std::uint32_t over_background(std::uint32_t pixel, COLORREF background) {
  std::uint32_t alpha = pixel >> 24;
  if (alpha == 255)
    return pixel;
  auto blend = [alpha](std::uint32_t front, std::uint32_t back) {
    return (front * alpha + back * (255 - alpha) + 127) / 255;
  };
  std::uint32_t red = blend((pixel >> 16) & 0xFF, GetRValue(background));
  std::uint32_t green = blend((pixel >> 8) & 0xFF, GetGValue(background));
  std::uint32_t blue = blend(pixel & 0xFF, GetBValue(background));
  return 0xFF000000u | red << 16 | green << 8 | blue;
}

GdiBitmap make_dib_section(int width, int height, void **bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height; // rows top first, as PictureImage keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return GdiBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

GdiBitmap bitmap_of(const PictureImage &image) {
  void *bits = nullptr;
  GdiBitmap bitmap = make_dib_section(image.width, image.height, &bits);
  if (!bitmap)
    return bitmap;
  COLORREF background = background_colour();
  auto *out = static_cast<std::uint32_t *>(bits);
  for (std::size_t i = 0; i < image.pixels.size(); ++i)
    out[i] = over_background(image.pixels[i], background);
  return bitmap;
}

const PictureImage *current_image(const PictureBoxState &state) {
  if (state.frames.empty())
    return nullptr;
  return &state.frames[state.frame].image;
}

// The shrunk copy for the fitted mode, made with the platform's halftone
// filter once per size rather than on every paint.
HBITMAP fitted_bitmap(PictureBoxState &state, HDC source, int width, int height) {
  if (state.fitted_bitmap && state.fitted_width == width && state.fitted_height == height)
    return state.fitted_bitmap.get();
  const PictureImage &image = *current_image(state);
  void *bits = nullptr;
  state.fitted_bitmap = make_dib_section(width, height, &bits);
  state.fitted_width = width;
  state.fitted_height = height;
  MemoryDc target(CreateCompatibleDC(source));
  SelectionGuard selected(target.get(), state.fitted_bitmap.get());
  SetStretchBltMode(target.get(), HALFTONE);
  SetBrushOrgEx(target.get(), 0, 0, nullptr);
  StretchBlt(target.get(), 0, 0, width, height, source, 0, 0, image.width, image.height, SRCCOPY);
  return state.fitted_bitmap.get();
}

void draw_tiled(HDC target, HDC source, int box_width, int box_height, const PictureImage &image) {
  for (int y = 0; y < box_height; y += image.height)
    for (int x = 0; x < box_width; x += image.width)
      BitBlt(target, x, y, image.width, image.height, source, 0, 0, SRCCOPY);
}

void draw_image(HDC target, int box_width, int box_height, PictureBoxState &state) {
  const PictureImage *image = current_image(state);
  if (!image)
    return;
  if (!state.frame_bitmap)
    state.frame_bitmap = bitmap_of(*image);
  if (!state.frame_bitmap)
    return;
  MemoryDc source(CreateCompatibleDC(target));
  SelectionGuard selected(source.get(), state.frame_bitmap.get());
  if (state.mode == PictureMode::Tiled) {
    draw_tiled(target, source.get(), box_width, box_height, *image);
  } else if (state.mode == PictureMode::Fitted) {
    PictureRect place = picture_fit(box_width, box_height, image->width, image->height);
    if (place.width == image->width && place.height == image->height) {
      BitBlt(target, place.left, place.top, place.width, place.height, source.get(), 0, 0, SRCCOPY);
    } else if (place.width > 0 && place.height > 0) {
      MemoryDc fitted(CreateCompatibleDC(target));
      SelectionGuard fitted_selected(fitted.get(),
                                     fitted_bitmap(state, source.get(), place.width, place.height));
      BitBlt(target, place.left, place.top, place.width, place.height, fitted.get(), 0, 0, SRCCOPY);
    }
  } else {
    BitBlt(target, 0, 0, image->width, image->height, source.get(), 0, 0, SRCCOPY);
  }
}

// Painted off-screen first so the box never flickers through its background.
void paint(HWND hwnd, PictureBoxState *state) {
  PaintDc paint_dc(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  int width = client.right;
  int height = client.bottom;
  if (width <= 0 || height <= 0)
    return;
  MemoryDc memory(CreateCompatibleDC(paint_dc.get()));
  GdiBitmap canvas(CreateCompatibleBitmap(paint_dc.get(), width, height));
  SelectionGuard selected(memory.get(), canvas.get());
  FillRect(memory.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
  if (state)
    draw_image(memory.get(), width, height, *state);
  BitBlt(paint_dc.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

void schedule_next_frame(HWND hwnd, const PictureBoxState &state) {
  KillTimer(hwnd, kAnimationTimer);
  if (!state.animate || state.frames.size() < 2)
    return;
  int delay = state.frames[state.frame].delay_ms;
  SetTimer(hwnd, kAnimationTimer, UINT(delay < kShortestFrameMs ? kDefaultFrameMs : delay),
           nullptr);
}

void next_frame(HWND hwnd, PictureBoxState &state) {
  if (state.frames.size() < 2)
    return;
  state.frame = (state.frame + 1) % state.frames.size();
  state.frame_bitmap.reset();
  state.fitted_bitmap.reset();
  InvalidateRect(hwnd, nullptr, FALSE);
  schedule_next_frame(hwnd, state);
}

LRESULT CALLBACK picture_box_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto *state = reinterpret_cast<PictureBoxState *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT:
    paint(hwnd, state);
    return 0;
  case WM_SIZE:
    InvalidateRect(hwnd, nullptr, FALSE);
    break;
  case WM_TIMER:
    if (wparam == kAnimationTimer && state) {
      next_frame(hwnd, *state);
      return 0;
    }
    break;
  case WM_NCDESTROY:
    KillTimer(hwnd, kAnimationTimer);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    break;
  default:
    break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

} // namespace

void register_picture_box_class() {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = picture_box_procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = kPictureBoxClass;
  RegisterClassExW(&window_class);
}

void attach_picture_box(HWND hwnd, PictureBoxState &state) {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
}

void show_picture(HWND hwnd, PictureBoxState &state, const Bytes &bytes) {
  state.bytes = bytes;
  state.frames = decode_picture(bytes, state.animate);
  state.frame = 0;
  state.frame_bitmap.reset();
  state.fitted_bitmap.reset();
  schedule_next_frame(hwnd, state);
  // Painted now: the handler that set it may keep the thread busy a while
  // (recognition waits for the service), and the picture should show then.
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
}
