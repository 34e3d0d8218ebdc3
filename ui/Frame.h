#pragma once
// The window's own frame: eight picture pieces along its edges and three
// title-bar buttons. Keeps the pieces on the edges at every size change,
// hands presses on them to the system's move and size tracking, and does
// minimise, the program's own maximise and restore, and close.

#include <span>
#include <string_view>

#include "state/ProgramState.h"
#include "ui/Catalogue.h"
#include "ui/ControlLayer.h"
#include "ui/Geometry.h"

namespace cc {

// Windows hit-test codes and the standard pointer shapes (IDC_*) they show.
inline constexpr int kHitCaption = 2;
inline constexpr int kHitLeft = 10;
inline constexpr int kHitRight = 11;
inline constexpr int kHitTopLeft = 13;
inline constexpr int kHitTopRight = 14;
inline constexpr int kHitBottom = 15;
inline constexpr int kHitBottomLeft = 16;
inline constexpr int kHitBottomRight = 17;

inline constexpr int kCursorArrow = 32512;
inline constexpr int kCursorSizeNwse = 32642;
inline constexpr int kCursorSizeNesw = 32643;
inline constexpr int kCursorSizeWe = 32644;
inline constexpr int kCursorSizeNs = 32645;

struct FramePiece {
    std::string_view name;
    int hitTest;
    int cursor;
};

std::span<const FramePiece> FramePieces();
const FramePiece* FindFramePiece(std::string_view name);

// The smallest window the frame lays out without a piece of negative size,
// and with the title-bar buttons clear of the title.
inline constexpr Size kMinimumWindowSize{200, 60};

// Lays the frame out for a window whose client area is width x height.
void LayOutFrame(ControlLayer& controls, int width, int height);

// Registers the frame's handlers.
void AttachFrame(ControlLayer& controls, ProgramState& state);

// Maximise or restore, as the maximise button does.
void ToggleMaximise(ControlLayer& controls, ProgramState& state);

}  // namespace cc
