// The frame: its layout at every size, the presses handed to the system, and
// the program's own maximise and restore.
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

TEST_F(FrameTest, TheFirstShowingLinesTheDesignWindowsEdges) {
    ui.show();
    EXPECT_EQ(ui.rect("图片框_上中").width, 572);
    EXPECT_EQ(ui.rect("图片框_上右").left, 578);
    EXPECT_EQ(ui.rect("图片框_中左").height, 351);
    EXPECT_EQ(ui.rect("图片框_中右"), (Rect{582, 30, 2, 351}));
    EXPECT_EQ(ui.rect("图片框_下左"), (Rect{0, 381, 6, 7}));
    EXPECT_EQ(ui.rect("图片框_下右"), (Rect{578, 381, 6, 7}));
    EXPECT_EQ(ui.rect("图片框_下中"), (Rect{6, 386, 578, 2}));
    EXPECT_EQ(ui.rect("图形按钮_最小化").left, 519);
    EXPECT_EQ(ui.rect("图形按钮_最大化").left, 538);
    EXPECT_EQ(ui.rect("图形按钮_关闭").left, 557);
    // Only the named coordinates move; the content panel keeps its design place.
    EXPECT_EQ(ui.rect("图片框_上中").top, 0);
    EXPECT_EQ(ui.rect("图形按钮_关闭").top, 4);
    EXPECT_EQ(ui.rect("图片框2"), (Rect{0, 30, 592, 360}));
    EXPECT_EQ(ui.rect("高级选择夹1"), (Rect{5, 8, 568, 344}));
}

TEST_F(FrameTest, GrowingTheWindowMovesThePiecesButNotThePages) {
    ui.show();
    ui.setRect("MainWindow", {50, 50, 800, 600});
    EXPECT_EQ(ui.rect("图片框_上中").width, 788);
    EXPECT_EQ(ui.rect("图片框_下右"), (Rect{794, 593, 6, 7}));
    EXPECT_EQ(ui.rect("图片框_中右").height, 563);
    EXPECT_EQ(ui.rect("图形按钮_关闭").left, 773);
    EXPECT_EQ(ui.rect("高级选择夹1"), (Rect{5, 8, 568, 344}));
}

TEST_F(FrameTest, ATinyWindowGivesNoPieceANegativeSize) {
    LayOutFrame(ui, 4, 10);
    for (const FramePiece& piece : FramePieces()) {
        EXPECT_GE(ui.rect(piece.name).width, 0) << piece.name;
        EXPECT_GE(ui.rect(piece.name).height, 0) << piece.name;
    }
    // At the minimum size the layout needs no clamping at all.
    LayOutFrame(ui, kMinimumWindowSize.width, kMinimumWindowSize.height);
    EXPECT_EQ(ui.rect("图片框_中左").height, kMinimumWindowSize.height - 37);
    EXPECT_GT(ui.rect("图形按钮_最小化").left, ui.rect("透明标签4").left + 6);
}

TEST_F(FrameTest, PressesOnThePiecesStartTheSystemsTracking) {
    for (const FramePiece& piece : FramePieces()) ui.pressLeftButton(piece.name);
    EXPECT_EQ(ui.trackingRequests(), (std::vector<int>{13, 2, 14, 10, 11, 16, 15, 17}));
}

TEST_F(FrameTest, MaximiseCoversTheScreenAndRestorePutsTheRectangleBack) {
    ui.setScreenSize({1280, 1024});
    ui.setRect("MainWindow", {-100, 700, 584, 388});   // partly off the screen
    ui.click("图形按钮_最大化");
    EXPECT_TRUE(state.WindowMaximised);
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{-6, -4, 1292, 1002}));
    EXPECT_EQ((Rect{state.RestoreLeft, state.RestoreTop, state.RestoreWidth, state.RestoreHeight}),
              (Rect{-100, 700, 584, 388}));
    EXPECT_EQ(ui.rect("图形按钮_关闭").left, 1292 - 27);

    // Maximised, the title bar no longer moves the window, but edges still size it.
    ui.pressLeftButton("图片框_上中");
    ui.pressLeftButton("图片框_下中");
    EXPECT_EQ(ui.trackingRequests(), (std::vector<int>{15}));

    ui.doubleClick("图片框_上中");   // as the maximise button
    EXPECT_FALSE(state.WindowMaximised);
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{-100, 700, 584, 388}));
    EXPECT_EQ(ui.rect("图形按钮_关闭").left, 557);
}

TEST_F(FrameTest, TwoMaximiseClicksLeaveTheWindowWhereItStarted) {
    ui.setRect("MainWindow", {120, 80, 640, 420});
    ui.click("图形按钮_最大化");
    ui.click("图形按钮_最大化");
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{120, 80, 640, 420}));
    EXPECT_FALSE(state.WindowMaximised);
}

TEST_F(FrameTest, AResizeWhileMaximisedKeepsTheSavedRectangle) {
    ui.setRect("MainWindow", {30, 40, 584, 388});
    ui.click("图形按钮_最大化");
    ui.setRect("MainWindow", {-6, -4, 900, 500});   // the user sized it by the bottom edge
    EXPECT_TRUE(state.WindowMaximised);
    ui.click("图形按钮_最大化");
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{30, 40, 584, 388}));
}

TEST_F(FrameTest, MinimiseAndCloseButtons) {
    ui.click("图形按钮_最小化");
    EXPECT_TRUE(ui.minimised());
    EXPECT_FALSE(state.WindowMaximised);
    ui.click("图形按钮_关闭");
    EXPECT_TRUE(ui.windowClosed());
}
