#include "app/form1.h"

#include <gtest/gtest.h>

using namespace quorin;

TEST(Form1, OpensTitledQuorin) {
    Form1 window;
    window.show();
    EXPECT_EQ(window.windowTitle(), "Quorin");
    EXPECT_EQ(window.objectName(), "Form1");
    EXPECT_TRUE(window.isVisible());
}
