// The frame beyond what the end-to-end run shows: sizes too small for its
// pieces, the tracking each piece hands to the system, and the program's own
// maximise and restore from awkward places.
#include <gtest/gtest.h>

#include "app/Program.h"
#include "fakes/FakePlatform.h"
#include "ui/ControlModel.h"
#include "ui/Frame.h"

using namespace cc;

namespace {

struct FrameTest : ::testing::Test {
    ControlModel ui;
    fake::FakePlatform fakes;
    Program program{ui, fakes.platform};
    ProgramState& state = program.state();
};

}  // namespace

TEST_F(FrameTest, NoPieceGetsANegativeSizeAndTheMinimumSizeNeedsNoClamping) {
    LayOutFrame(ui, 4, 10);
    for (const FramePiece& piece : FramePieces()) {
        EXPECT_GE(ui.rect(piece.name).width, 0) << piece.name;
        EXPECT_GE(ui.rect(piece.name).height, 0) << piece.name;
        EXPECT_EQ(FindFramePiece(piece.name), &piece);
    }
    EXPECT_EQ(FindFramePiece("按钮1"), nullptr);
    LayOutFrame(ui, kMinimumWindowSize.width, kMinimumWindowSize.height);
    EXPECT_EQ(ui.rect("图片框_中左").height, kMinimumWindowSize.height - 37);
    EXPECT_GT(ui.rect("图形按钮_最小化").left, ui.rect("透明标签4").left + 6);
    ui.show();
    ui.setRect("MainWindow", {50, 50, 800, 600});
    EXPECT_EQ(ui.rect("图片框_下右"), (Rect{794, 593, 6, 7}));
    EXPECT_EQ(ui.rect("图形按钮_最大化").left, 754);
}

TEST_F(FrameTest, MaximiseCoversTheScreenAndRestorePutsTheRectangleBack) {
    for (const FramePiece& piece : FramePieces()) ui.pressLeftButton(piece.name);   // each its own tracking
    ui.setScreenSize({1280, 1024});
    ui.setRect("MainWindow", {-100, 700, 584, 388});   // partly off the screen
    ui.click("图形按钮_最大化");
    EXPECT_TRUE(state.WindowMaximised);
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{-6, -4, 1292, 1002}));
    EXPECT_EQ(ui.rect("图形按钮_关闭").left, 1292 - 27);
    // Maximised, the title bar no longer moves the window, but edges still size it.
    ui.pressLeftButton("图片框_上中");
    ui.pressLeftButton("图片框_下中");
    EXPECT_EQ(ui.trackingRequests(), (std::vector<int>{13, 2, 14, 10, 11, 16, 15, 17, 15}));
    ui.setRect("MainWindow", {-6, -4, 900, 500});   // sized by the bottom edge: still maximised
    EXPECT_TRUE(state.WindowMaximised);
    ui.doubleClick("图片框_上中");   // as the maximise button
    EXPECT_FALSE(state.WindowMaximised);
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{-100, 700, 584, 388}));
    EXPECT_EQ(ui.rect("图形按钮_关闭").left, 557);
    ui.click("图形按钮_最小化");
    EXPECT_TRUE(ui.minimised());
    ui.click("图形按钮_关闭");
    EXPECT_TRUE(ui.windowClosed());
}
