#pragma once
// The one QApplication of an editor test process. Widgets are made under
// Qt's offscreen platform unless the test's environment names another (the
// view's tests run under a private Xvfb with QT_QPA_PLATFORM=xcb). Header
// only.
//
//   TEST(ObjectList, ...) {
//       lvxtest::TestApplication();
//       CObjectListPane pane(document);
//   }

#include <QApplication>
#include <QtGlobal>

namespace lvxtest {

inline QApplication& TestApplication() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "editor-test";
    static char* argv[] = {name, nullptr};
    // Made once and never destroyed: a QApplication torn down with the other
    // statics at exit outlives what it refers to (its pointing devices).
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

}  // namespace lvxtest
