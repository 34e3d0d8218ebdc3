#include "ui/Frame.h"

#include <algorithm>
#include <array>
#include <optional>

namespace cc {
namespace {

constexpr std::array<FramePiece, 8> kPieces{{
    {"图片框_上左", kHitTopLeft, kCursorSizeNwse},
    {"图片框_上中", kHitCaption, kCursorArrow},
    {"图片框_上右", kHitTopRight, kCursorSizeNesw},
    {"图片框_中左", kHitLeft, kCursorSizeWe},
    {"图片框_中右", kHitRight, kCursorSizeWe},
    {"图片框_下左", kHitBottomLeft, kCursorSizeNesw},
    {"图片框_下中", kHitBottom, kCursorSizeNs},
    {"图片框_下右", kHitBottomRight, kCursorSizeNwse},
}};

constexpr int kCloseButtonMargin = 8;

// Changes only the coordinates it is given; sizes never go below 0.
void Place(ControlLayer& c, std::string_view name, std::optional<int> left, std::optional<int> top,
           std::optional<int> width, std::optional<int> height) {
    Rect r = c.rect(name);
    if (left) r.left = *left;
    if (top) r.top = *top;
    if (width) r.width = std::max(*width, 0);
    if (height) r.height = std::max(*height, 0);
    c.setRect(name, r);
}

}  // namespace

std::span<const FramePiece> FramePieces() { return kPieces; }

const FramePiece* FindFramePiece(std::string_view name) {
    for (const auto& piece : kPieces)
        if (piece.name == name) return &piece;
    return nullptr;
}

void LayOutFrame(ControlLayer& c, int W, int H) {
    constexpr auto none = std::nullopt;
    const Rect topLeft = c.rect("图片框_上左");
    const Rect topRight = c.rect("图片框_上右");
    const Rect bottomLeft = c.rect("图片框_下左");
    const Rect bottomRight = c.rect("图片框_下右");

    Place(c, "图片框_上中", none, none, W - topLeft.width - topRight.width, none);
    Place(c, "图片框_上右", W - topRight.width, none, none, none);
    Place(c, "图片框_中左", none, none, none, H - topLeft.height - bottomLeft.height);
    Rect middleRight = c.rect("图片框_中右");
    Place(c, "图片框_中右", W - middleRight.width, none, none, H - topRight.height - bottomRight.height);
    Place(c, "图片框_下左", none, H - bottomLeft.height, none, none);
    // The bottom edge runs on under the bottom-right corner, which lies above it.
    Rect bottom = c.rect("图片框_下中");
    Place(c, "图片框_下中", none, H - bottom.height, W - bottomLeft.width, none);
    Place(c, "图片框_下右", W - bottomRight.width, H - bottomRight.height, none, none);

    Rect close = c.rect("图形按钮_关闭");
    int closeLeft = W - close.width - kCloseButtonMargin;
    Place(c, "图形按钮_关闭", closeLeft, none, none, none);
    int maximiseLeft = closeLeft - c.rect("图形按钮_最大化").width;
    Place(c, "图形按钮_最大化", maximiseLeft, none, none, none);
    Place(c, "图形按钮_最小化", maximiseLeft - c.rect("图形按钮_最小化").width, none, none, none);
}

void ToggleMaximise(ControlLayer& c, ProgramState& s) {
    if (s.WindowMaximised) {
        c.setRect(kMainWindowName, {s.RestoreLeft, s.RestoreTop, s.RestoreWidth, s.RestoreHeight});
    } else {
        Rect r = c.rect(kMainWindowName);
        s.RestoreLeft = r.left;
        s.RestoreTop = r.top;
        s.RestoreWidth = r.width;
        s.RestoreHeight = r.height;
        Size screen = c.screenSize();
        // Covers the screen with the side pieces and the top strip off it,
        // leaving the bottom of the screen (the taskbar) uncovered.
        c.setRect(kMainWindowName, {-6, -4, screen.width + 12, screen.height - 22});
    }
    s.WindowMaximised = !s.WindowMaximised;
    c.noteMaximised(s.WindowMaximised);
}

void AttachFrame(ControlLayer& c, ProgramState& s) {
    c.on(kMainWindowName, Event::SizeChanged, [&c] {
        Rect r = c.rect(kMainWindowName);
        LayOutFrame(c, r.width, r.height);
    });
    for (const FramePiece& piece : kPieces) {
        if (piece.hitTest == kHitCaption) {
            c.on(piece.name, Event::LeftButtonPressed, [&c, &s] {
                if (!s.WindowMaximised) c.startSystemTracking(kHitCaption);
            });
            c.on(piece.name, Event::DoubleClicked, [&c, &s] { ToggleMaximise(c, s); });
        } else {
            c.on(piece.name, Event::LeftButtonPressed, [&c, code = piece.hitTest] { c.startSystemTracking(code); });
        }
    }
    c.on("图形按钮_最小化", Event::Clicked, [&c] { c.setMinimised(true); });
    c.on("图形按钮_最大化", Event::Clicked, [&c, &s] { ToggleMaximise(c, s); });
    c.on("图形按钮_关闭", Event::Clicked, [&c] { c.close(); });
}

}  // namespace cc
