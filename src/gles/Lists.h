#pragma once
#include "gles/Context.h"

// The calls a display list records instead of running while it is compiled: each
// returns true when it recorded.
namespace gles {

bool recordTranslate(float x, float y, float z);
bool recordRotate(float degrees, float x, float y, float z);
bool recordScale(float x, float y, float z);
bool recordPush();
bool recordPop();

// Stops the program when `call`, a state change GL would record, comes while a list is
// compiled: lists here hold geometry, current attributes and transforms only.
void refuseInList(const char* call);

// Notes that a current attribute was set, for the list being compiled.
void noteAttribute(Attribute a);

} // namespace gles
