#pragma once
// Inside the platform: the keys the framework has seen held.
#include <Qt>

namespace KeyboardState {
void Modifiers(Qt::KeyboardModifiers modifiers);
void Key(int key, bool down);
void Clear();
Qt::KeyboardModifiers HeldModifiers();
bool Held(int key);
}  // namespace KeyboardState
