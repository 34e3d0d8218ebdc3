// The frame beyond what the end-to-end run shows: sizes too small for its
// pieces, and the program's own maximise and restore from awkward places.
#include <gtest/gtest.h>

#include "app/Program.h"
#include "fakes/FakePlatform.h"
#include "ui/Frame.h"

using namespace cc;

TEST(FrameTest, NoPieceGetsANegativeSizeAndRestoreAfterMaximisePutsTheRectangleBack) {
    ControlModel ui;
    fake::FakePlatform fakes;
    Program program{ui, fakes.platform};
    LayOutFrame(ui, 4, 10);
    for (const FramePiece& piece : FramePieces()) {
        EXPECT_TRUE(ui.rect(piece.name).width >= 0 && ui.rect(piece.name).height >= 0) << piece.name;
        EXPECT_EQ(FindFramePiece(piece.name), &piece);
    }
    EXPECT_EQ(FindFramePiece("按钮1"), nullptr);
    LayOutFrame(ui, kMinimumWindowSize.width, kMinimumWindowSize.height);   // needs no clamping
    EXPECT_GT(ui.rect("图形按钮_最小化").left, ui.rect("透明标签4").left + 6);

    ui.setScreenSize({1280, 1024});
    ui.setRect("MainWindow", {-100, 700, 584, 388});   // partly off the screen
    ui.pressLeftButton("图片框_上中");   // the title bar moves the window, but not a maximised one
    EXPECT_EQ(ui.trackingRequests(), std::vector<int>{kHitCaption});
    ui.click("图形按钮_最大化");
    EXPECT_TRUE(program.state().WindowMaximised);
    ui.pressLeftButton("图片框_上中"), ui.pressLeftButton("图片框_下右");   // the edges size it in either state
    EXPECT_EQ(ui.trackingRequests(), (std::vector<int>{kHitCaption, kHitBottomRight}));
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{-6, -4, 1292, 1002}));
    EXPECT_EQ(ui.rect("图形按钮_关闭").left, 1292 - 27);
    ui.setRect("MainWindow", {-6, -4, 900, 500});   // sized by the bottom edge: still maximised
    ui.doubleClick("图片框_上中");   // as the maximise button
    EXPECT_FALSE(program.state().WindowMaximised);
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{-100, 700, 584, 388}));
    EXPECT_EQ(ui.rect("图形按钮_关闭").left, 557);
}
