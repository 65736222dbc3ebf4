// The windows the front end paints itself: picture boxes and images (a border, a drawing, the
// lines code moves in them), and the control that draws a Drawing. The drawings themselves are
// painted through the three functions below, so the painter of the artwork and of the map plugs
// in at one place each.
#pragma once

#include <vector>

#include "platform/Drawing.h"
#include "platform/Graphics.h"
#include "platform/win32/Win32Api.h"

namespace keldra::win32 {

// What a picture window shows; the front end owns it and keeps it up to date.
struct PictureContent {
  Artwork art = Artwork::kNone;
  bool border = false;
  std::vector<const Line*> lines;  // in the picture's twips
  UINT dpi = 96;
};

// A child window that paints `content` (which must outlive it, or be detached with
// DetachPicture first). A click is told to the parent as WM_COMMAND with STN_CLICKED.
HWND CreatePictureWindow(HWND parent, int id, PictureContent* content);
void DetachPicture(HWND picture);
// The lines of a picture box or of a window, at `dpi`, offset by `origin` pixels.
void PaintLines(HDC dc, const std::vector<const Line*>& lines, UINT dpi, POINT origin);

// One of the program's drawings into `area`.
void PaintArt(HDC dc, const RECT& area, Artwork art);
// A drawing as an icon of `size` pixels (the window icon, a picture button).
HICON ArtIcon(Artwork art, int size);

// The child window that draws a Drawing and lets the operator zoom and pan it.
HWND CreateDrawingWindow(HWND parent, Drawing& drawing, int x, int y, int width, int height);
// The drawing's layers or view changed.
void RedrawDrawingWindow(HWND view, const Drawing& drawing);

}  // namespace keldra::win32
