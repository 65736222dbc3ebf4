// The map's drawing control on Windows, and the program's pictures, painted with GDI+. The window
// keeps each layer's lines in ready-made paths until the layer's version changes, so a zoom or pan
// step repaints without rebuilding anything; every change of view the operator makes (wheel about
// the cursor, + and -, dragging) goes to the model through Drawing::UserView. Texts of the model
// are Windows-1252 and become UTF-16 only here.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "widgets/Artwork.h"
#include "widgets/Drawing.h"

namespace keldra::win32 {

// GDI+ started for as long as the object lives: one for the program's lifetime, before any window.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool Started() const { return started_; }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

// A focusable child window showing `drawing`, which must outlive it.
HWND CreateDrawingWidget(HWND parent, Drawing& drawing, int x, int y, int w, int h);
// Repaints after a layer, the view or the size changed in the model.
void RedrawDrawingWidget(HWND view, const Drawing& drawing);

// One of the program's pictures filling `area` of a device context.
void PaintArtwork(HDC dc, const RECT& area, Artwork art);
// The picture as a square icon of `size` pixels (the window icon: 16 small, 32 large); the caller
// destroys it with DestroyIcon. Null if GDI+ could not make it.
HICON ArtworkIcon(Artwork art, int size);
// The picture as a square PNG of `size` pixels on a transparent ground.
std::optional<std::string> ArtworkPng(Artwork art, int size);

// The PNG of a drawing, painted as the window shows it.
class Win32DrawingPainter : public DrawingPainter {
 public:
  std::optional<std::string> Png(const Drawing& drawing) override;
};

}  // namespace keldra::win32
