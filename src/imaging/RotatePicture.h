#pragma once
// Everything a window needs to turn pictures: the rotation engine, its
// progress procedure and abort flag, and the upside-down flip.
#include "ModAaform.h"
#include "ModCallback.h"
#include "modRotate90180.h"
