#include "Win32DrawTest.h"

#include <objidl.h>
#include <shlwapi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace keldra::testing {

Picture DecodePng(const std::string& png) {
  Picture picture;
  IStream* stream =
      SHCreateMemStream(reinterpret_cast<const BYTE*>(png.data()), static_cast<UINT>(png.size()));
  if (stream == nullptr) {
    return picture;
  }
  {
    Gdiplus::Bitmap bitmap(stream);
    Gdiplus::BitmapData data{};
    const Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()),
                            static_cast<INT>(bitmap.GetHeight()));
    if (bitmap.GetLastStatus() == Gdiplus::Ok &&
        bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) ==
            Gdiplus::Ok) {
      picture.width = all.Width;
      picture.height = all.Height;
      for (int y = 0; y < all.Height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(data.Scan0) +
                                                   static_cast<std::ptrdiff_t>(y) * data.Stride);
        picture.argb.insert(picture.argb.end(), row, row + all.Width);
      }
      bitmap.UnlockBits(&data);
    }
  }
  stream->Release();
  return picture;
}

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int most = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                   static_cast<int>((b >> shift) & 0xFF)));
  }
  return most;
}

double MeanDifference(const Picture& a, const Picture& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.argb.size() && i < b.argb.size(); ++i) {
    for (int shift = 0; shift < 32; shift += 8) {
      sum += std::abs(static_cast<int>((a.argb[i] >> shift) & 0xFF) -
                      static_cast<int>((b.argb[i] >> shift) & 0xFF));
    }
  }
  return a.argb.empty() ? 255 : sum / (4.0 * static_cast<double>(a.argb.size()));
}

void SaveScreenshot(const std::string& name, const std::string& png) {
  const char* folder = std::getenv("KELDRA_SCREENSHOTS");
  const std::filesystem::path dir = folder != nullptr ? folder : "screenshots";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << png;
}

}  // namespace keldra::testing
