#pragma once

// Where the generated field dialogs put their controls. Every measure is in twips, relative
// to the row frame FrameData for the rows and to the window for the frame and the buttons;
// a row takes 600 twips, a multi-line row three times that.
namespace veldra::field_layout {

inline constexpr int rowHeight = 600;

inline constexpr int labelLeft = 240;
inline constexpr int labelWidth = 5055;
inline constexpr int labelHeight = 255;

// The field sits this far below its label's top.
inline constexpr int fieldOffset = 225;
inline constexpr int fieldLeft = 550;
inline constexpr int fieldWidth = 4785;
// A field that ends in a row button gives it room.
inline constexpr int fieldWidthWithButton = 4500;
inline constexpr int textBoxHeight = 285;
inline constexpr int multiLineHeight = 1425;
// The two extra rows a multi-line box takes.
inline constexpr int multiLineExtraRows = 2;

inline constexpr int iconLeft = labelLeft;
inline constexpr int buttonLeft = fieldLeft + fieldWidthWithButton;
inline constexpr int buttonSize = 285;

inline constexpr int frameLeft = 120;
inline constexpr int frameTop = 1200;
inline constexpr int frameWidth = 5535;
inline constexpr int frameInitialHeight = 855;
// The frame reaches this far below the lowest field.
inline constexpr int frameBottomMargin = 600;

inline constexpr int clientWidth = 5730;
inline constexpr int clientInitialHeight = 2625;
// The window's height counts its title bar and borders as well; they take about this much.
inline constexpr int nonClientHeight = 410;
// The window reaches this far below the frame.
inline constexpr int windowBelowFrame = 1000;
inline constexpr int commandHeight = 375;
inline constexpr int commandBottomMargin = 500;

// The top of a row's label: row numbers count from 1, and every multi-line row before it
// adds its extra rows.
constexpr int labelTop(int row, int extraRows)
{
    return rowHeight * row + rowHeight * extraRows;
}

constexpr int fieldTop(int labelTopTwips)
{
    return labelTopTwips + fieldOffset;
}

// The frame's height once a field reaches down to fieldTop + fieldHeight.
constexpr int frameHeight(int fieldTopTwips, int fieldHeightTwips)
{
    return fieldTopTwips + fieldHeightTwips + frameBottomMargin;
}

// The window's outer height for a frame of that height.
constexpr int windowHeight(int frameHeightTwips)
{
    return frameTop + frameHeightTwips + windowBelowFrame;
}

// The top of OK and Cancel in a window of that outer height.
constexpr int commandTop(int windowHeightTwips)
{
    return windowHeightTwips - commandHeight - commandBottomMargin;
}

} // namespace veldra::field_layout
