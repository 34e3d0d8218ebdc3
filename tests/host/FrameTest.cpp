// The frame beyond what the end-to-end runs show (they maximise the real window): sizes too small for its
// pieces, what a press on it asks of the system, the program's own restore, and the scaling of the design by edges.
#include "fakes/FakePlatform.h"
#include "ui/Frame.h"
#include "ui/Scale.h"
using namespace cc;

// The title bar moves the window, but not a maximised one; the edges and corners size it in either state.
// Sized while maximised, a double-click on the title still restores the rectangle from before.
TEST(FrameTest, NoPieceGetsANegativeSizeAndAPressMovesOrSizesTheWindowAndRestoreIsExact) {
    fake::FakeProgram p;
    ControlModel& ui = p.ui;
    LayOutFrame(ui, 4, 10);
    for (const FramePiece& piece : FramePieces())
        EXPECT_TRUE(ui.rect(piece.name).width >= 0 && ui.rect(piece.name).height >= 0) << piece.name;
    ui.setScreenSize({1280, 1024}), ui.setRect("MainWindow", {-100, 700, 584, 388});   // partly off the screen
    ui.pressLeftButton("图片框_上中"), ui.click("图形按钮_最大化");
    ui.pressLeftButton("图片框_上中"), ui.pressLeftButton("图片框_下右");
    EXPECT_EQ(ui.trackingRequests(), (std::vector<int>{kHitCaption, kHitBottomRight}));
    ui.setRect("MainWindow", {-6, -4, 900, 500}), ui.doubleClick("图片框_上中");
    EXPECT_EQ(ui.rect("MainWindow"), (Rect{-100, 700, 584, 388}));
}

// What meets in the design meets on the screen at 125%, 150% and 200%, and a scaled rectangle reads
// back as it was.
TEST(FrameTest, ScaledNeighboursStayFlushAndReadBackExactly) {
    for (auto [value, dpi, scaled] : {std::tuple{1, 144, 2}, {-1, 144, -2}, {2, 120, 3}, {5, 120, 6}})   // halves round
        EXPECT_EQ(ScaleValue(value, dpi), scaled) << value << " at " << dpi;                           // away from zero, as MulDiv does
    ControlModel ui;
    LayOutFrame(ui, 584, 388);
    for (int dpi : {120, 144, 192}) {
        for (int x = -20; x < 200; ++x)
            for (int w : {1, 2, 3, 7, 19}) {
                const Rect a = ScaleRect({x, x, w, w}, dpi), b = ScaleRect({x + w, x + w, 5, 5}, dpi);
                ASSERT_EQ(a.left + a.width, b.left) << dpi << " " << x << " " << w;
                ASSERT_EQ(a.top + a.height, b.top) << dpi << " " << x << " " << w;
                ASSERT_EQ(UnscaleRect(a, dpi), (Rect{x, x, w, w})) << dpi << " " << x << " " << w;
            }
        // The laid-out frame still reaches the scaled window's right edge.
        EXPECT_EQ(ScaleRect(ui.rect("图片框_上右"), dpi).left + ScaleRect(ui.rect("图片框_上右"), dpi).width,
                  ScaleValue(584, dpi));
    }
}
