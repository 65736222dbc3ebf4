// The pictures as the Qt painter draws them from their one description, held against the 64-pixel
// reference images the Windows painter is compared with too. KELDRA_WRITE_ART_REFERENCE=1 writes
// them afresh after a deliberate change of a picture (look at them before committing).
#include <QImage>
#include <cstdlib>

#include "QtTestSupport.h"
#include "qt/Widgets.h"

namespace keldra::testing {
namespace {

struct Reference {
  Artwork art;
  const char* file;
};

const Reference kReferences[] = {{Artwork::kLogo, "logo.png"},
                                 {Artwork::kCompass, "compass.png"},
                                 {Artwork::kAward, "award.png"},
                                 {Artwork::kDatabase, "database.png"}};

// The mean difference of the channels (0 to 255) over the whole picture.
double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
    }
  }
  return sum / (4.0 * a.width() * a.height());
}

TEST(ArtworkQtTest, EachPictureIsTheReferenceTheWindowsPainterIsHeldTo) {
  App();
  const bool write = std::getenv("KELDRA_WRITE_ART_REFERENCE") != nullptr;
  for (const Reference& ref : kReferences) {
    SCOPED_TRACE(ref.file);
    const QString path = QString(KELDRA_ART_REFERENCE) + "/" + ref.file;
    const QImage drawn = qt::ArtworkImage(ref.art, 64).convertToFormat(QImage::Format_ARGB32);
    if (write) {
      ASSERT_TRUE(drawn.save(path));
      continue;
    }
    const QImage reference(path);
    ASSERT_EQ(reference.size(), QSize(64, 64));
    // Font rendering may differ a little between machines; a changed shape would not pass.
    EXPECT_LT(MeanDifference(drawn, reference.convertToFormat(QImage::Format_ARGB32)), 1.0);
  }
}

}  // namespace
}  // namespace keldra::testing
