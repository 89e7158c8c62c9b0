#pragma once
// Centres a window on screen 0: the screen's origin plus half the difference
// of the sizes, through the framework's conversions, without clamping.
#include "platform/runtime/Conversions.h"
#include "platform/ui/System.h"
#include "platform/ui/Window.h"

inline int32_t CentredPosition(int32_t screenSide, int32_t windowSide) {
  return RuntimeCvtReal64ToSInt32(RuntimeCvtSInt32ToReal64(screenSide - windowSide) / 2.0);
}

// The screen's side is read before the window's.
inline void CentreOnMainScreen(Window& window) {
  const Ref<class Screen> screen = NotNil(Screen(0));
  const int32_t screenWidth = screen->Width();
  window.Left(screen->Left() + CentredPosition(screenWidth, window.Width()));
  const int32_t screenHeight = screen->Height();
  window.Top(screen->Top() + CentredPosition(screenHeight, window.Height()));
}
