#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Window.h"
#include "render/Graphics.h"
#include "render/gl/GlDevice.h"

#include <gtest/gtest.h>

namespace {

class GraphicsGl : public ::testing::Test {
protected:
    void SetUp() override {
        if (Window::OpenVideo() != Window::VideoStatus::Ready) GTEST_SKIP() << "no display";
        SetLogCapture(&log);
        ASSERT_TRUE(window.Create(160, 120));
    }
    void TearDown() override {
        window.Destroy();
        Window::CloseVideo();
        SetLogCapture(nullptr);
    }

    std::string log;
    Window window;
};

} // namespace

TEST_F(GraphicsGl, FrameClearsToTheSceneColourAndZeroKeepsTheImage) {
    CommandLine commandLine({"-win"});
    Graphics graphics(window, commandLine, 0, 160, 120);
    ASSERT_TRUE(graphics.Init());
    EXPECT_NE(log.find("InitDirect3D\n"), std::string::npos);
    EXPECT_NE(log.find("ウインドウ化 = ON\n"), std::string::npos);
    auto* device = static_cast<GlDevice*>(graphics.device());

    ASSERT_TRUE(graphics.BeginFrame(0xFF204080));
    EXPECT_EQ(device->ReadPixel(0, 0) & 0xFFFFFF, 0x204080u);
    EXPECT_EQ(device->ReadPixel(159, 119) & 0xFFFFFF, 0x204080u);

    // Colour 0 clears only depth: the picture drawn so far stays.
    ASSERT_TRUE(graphics.BeginFrame(0));
    EXPECT_EQ(device->ReadPixel(80, 60) & 0xFFFFFF, 0x204080u);
    ASSERT_TRUE(graphics.BeginFrame(0xFF000000));
    EXPECT_EQ(device->ReadPixel(80, 60) & 0xFFFFFF, 0u);
    graphics.EndFrame();

    graphics.Free();
    EXPECT_NE(log.find("FreeDirect3D\n"), std::string::npos);
}

TEST(GraphicsWindowMode, SwitchesOverrideTheConfiguration) {
    std::string text;
    EXPECT_EQ(Graphics::ChooseWindowed(CommandLine({"-full", "-win"}), 0, text), 1);
    EXPECT_EQ(text, "ON\n");
    EXPECT_EQ(Graphics::ChooseWindowed(CommandLine({"-full"}), 1, text), 0);
    EXPECT_EQ(text, "OFF\n");
    EXPECT_EQ(Graphics::ChooseWindowed(CommandLine({"-WIN"}), 1, text), 1);
    EXPECT_EQ(text, "CFG(1)\n");
}
