#include <QApplication>
#include <gtest/gtest.h>

// Reports need fonts and a paint device, the preview a screen: the offscreen platform gives both.
int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
