// The windows the front end paints itself: picture boxes and images (a border, a drawing, the
// lines code moves in them). The artwork and the map's Drawing are painted by DrawingWidget.h.
#pragma once

#include <functional>
#include <vector>

#include "widgets/Drawing.h"
#include "widgets/Graphics.h"
#include "win32/Win32Api.h"

namespace keldra::win32 {

// What a picture window shows; the front end owns it and keeps it up to date.
struct PictureContent {
  Artwork art = Artwork::kNone;
  bool border = false;
  std::vector<const Line*> lines;  // in the picture's twips
  UINT dpi = 96;
  std::function<void(HDC)> paint_over;  // what the front end paints over it (its labels)
};

// A child window that paints `content` (which must outlive it, or be detached with
// DetachPicture first). A click is told to the parent as WM_COMMAND with STN_CLICKED.
HWND CreatePictureWindow(HWND parent, int id, PictureContent* content);
void DetachPicture(HWND picture);
// The lines of a picture box or of a window, at `dpi`, offset by `origin` pixels.
void PaintLines(HDC dc, const std::vector<const Line*>& lines, UINT dpi, POINT origin);

}  // namespace keldra::win32
