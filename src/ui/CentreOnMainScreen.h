#pragma once
// Centres a window on screen 0: half the difference of the sizes, through the
// framework's conversions, without clamping.
#include "platform/runtime/Conversions.h"
#include "platform/ui/System.h"
#include "platform/ui/Window.h"

inline int32_t CentredPosition(int32_t screenSide, int32_t windowSide) {
  return RuntimeCvtReal64ToSInt32(RuntimeCvtSInt32ToReal64(screenSide - windowSide) / 2.0);
}

// The screen's side is read before the window's.
inline void CentreOnMainScreen(Window& window) {
  const int32_t screenWidth = NotNil(Screen(0))->Width();
  window.Left(CentredPosition(screenWidth, window.Width()));
  const int32_t screenHeight = NotNil(Screen(0))->Height();
  window.Top(CentredPosition(screenHeight, window.Height()));
}
