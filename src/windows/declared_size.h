#pragma once
// Window sizes are declared as outer sizes of a Windows frame; the client area,
// which the program controls, is 8 pixels narrower and 34 pixels lower.
#include <QSize>

namespace uriage {

constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 34;

// The height of the panel at the foot of the main menu and at the top of
// every chart window.
constexpr int kPanelHeight = 41;

constexpr QSize clientSizeFromOuter(int outerWidth, int outerHeight)
{
    return QSize(outerWidth - kFrameWidth, outerHeight - kFrameHeight);
}

} // namespace uriage
