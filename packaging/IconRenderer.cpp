// Draws the program's icon, the logo its windows show, as the PNG files a desktop menu looks up:
//   keldra_icons FOLDER SIZE...  writes FOLDER/<size>x<size>/apps/keldra.png for each size.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <cstdio>

#include "qt/Widgets.h"

int main(int argc, char* argv[]) {
  // Run while building: there is no display, and none is needed to paint into an image.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QGuiApplication::setFont(QFont("DejaVu Sans"));
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER SIZE...\n", argv[0]);
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    const int size = QString(argv[i]).toInt();
    const QString folder = QString("%1/%2x%2/apps").arg(argv[1]).arg(size);
    if (size <= 0 || !QDir().mkpath(folder) ||
        !keldra::qt::ArtworkImage(keldra::Artwork::kLogo, size).save(folder + "/keldra.png")) {
      std::fprintf(stderr, "cannot write the %s pixel icon under %s\n", argv[i], argv[1]);
      return 1;
    }
  }
  return 0;
}
