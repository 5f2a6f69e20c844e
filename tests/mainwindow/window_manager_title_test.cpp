// What the window manager reads as the program's title while a tool runs. Meaningful only
// on a real X server (the suite runs it again under Xvfb); skipped on other platforms.

#include <QGuiApplication>
#include <cstdio>

#include "gui_test_support.h"

namespace transcoda::testing {
namespace {

std::string XProp(WId window, const char* property) {
    std::string out;
    const std::string command = "xprop -id " + std::to_string(window) + " " + property + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[1024];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

TEST_F(WindowTest, WindowManagerSeesTheProgressInTheTitle) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    MakeForm();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const WId id = form->winId();
    EXPECT_NE(XProp(id, "_NET_WM_NAME").find("Transcoda Media Converter 1.0"), std::string::npos);

    App().Window->ShowDisplay({.Title = "42.50% (2/3)"});
    QApplication::processEvents();
    QApplication::sync();
    const std::string busy = XProp(id, "_NET_WM_NAME");
    EXPECT_NE(busy.find("42.50% (2/3) - Transcoda Media Converter 1.0"), std::string::npos) << busy;

    App().Window->ShowDisplay({.Title = "Transcoda 1.0"});
    QApplication::processEvents();
    QApplication::sync();
    EXPECT_EQ(XProp(id, "_NET_WM_NAME").find("%"), std::string::npos);
}

}  // namespace
}  // namespace transcoda::testing
