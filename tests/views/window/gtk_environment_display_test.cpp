#include "support/display/gtk_test_environment.h"
#include "support/display/widget_screenshot.h"
#include "support/temporary_directory.h"

#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace sarvik {
namespace {

TEST(GtkEnvironmentTest, AWindowCanBeShownAndMapped) {
    Gtk::Window window;
    Gtk::Label label("SarvikBrowser");
    window.set_child(label);
    window.set_default_size(320, 200);
    window.present();
    EXPECT_TRUE(testing::runMainLoopUntil([&] { return label.get_mapped() && label.get_width() > 0; }));
    EXPECT_GT(label.get_width(), 0);

    sarvik::testing::TemporaryDirectory dir;
    ASSERT_TRUE(sarvik::testing::saveWidgetPng(window, dir / "window.png"));
    EXPECT_GT(std::filesystem::file_size(dir / "window.png"), 100u);
}

TEST(GtkEnvironmentTest, AWarningOrACriticalMessageFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(g_warning("a warning the test expects"), "logged:");
    EXPECT_NONFATAL_FAILURE(g_critical("a critical message the test expects"), "logged:");
    EXPECT_NONFATAL_FAILURE(g_log("Gtk", G_LOG_LEVEL_WARNING, "from GTK, expected"), "logged: Gtk");
}

}  // namespace
}  // namespace sarvik
