// GoogleTest's main with a QApplication, on the offscreen platform unless
// the environment asks for another.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    // Tests start and end their event loops themselves; a window closing in
    // one case must not post a quit that ends a loop of the next.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
