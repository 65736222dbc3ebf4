// Front-end test support: one QApplication for the test program (offscreen), a Program on a
// temporary folder drawn by the real Qt front end, and screenshots saved under the build folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "TestSupport.h"
#include "qt/QtFrontEnd.h"

namespace keldra::testing {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "keldra-qt-tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    auto* a = new QApplication(argc, argv);
    QApplication::setStyle("Fusion");
    QFont font("DejaVu Sans");
    font.setPointSize(9);
    QApplication::setFont(font);
    return a;
  }();
  return *app;
}

class QtProgramTest : public ProgramTest {
 protected:
  QtProgramTest() { App(); }
  // The front end attached before the program starts, as in the real program.
  qt::QtFrontEnd& FrontEnd() {
    if (!front_end_) {
      front_end_ = std::make_unique<qt::QtFrontEnd>(program().Desktop());
    }
    return *front_end_;
  }
  void Settle() {
    FrontEnd().Flush();
    QCoreApplication::processEvents();
  }
  // Saves a picture of a window under the build folder's screenshots/ (or the working folder).
  void Screenshot(const Form& form, const std::string& name) {
    Settle();
    QWidget* window = FrontEnd().WindowOf(form);
    ASSERT_NE(window, nullptr);
    const char* folder = std::getenv("KELDRA_SCREENSHOTS");
    const QString dir = folder != nullptr ? QString(folder) : QDir::currentPath() + "/screenshots";
    QDir().mkpath(dir);
    EXPECT_TRUE(window->grab().save(dir + "/" + QString::fromStdString(name) + ".png"));
  }
  ~QtProgramTest() override {
    front_end_.reset();
    program_.reset();
  }

  std::unique_ptr<qt::QtFrontEnd> front_end_;
};

}  // namespace keldra::testing
