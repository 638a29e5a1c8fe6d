// The private messages of the skinning engine that skinned controls answer: one table for
// the whole engine, kept with the skin manager (the layer below).
#pragma once

#include "skin/manager/SkinMessages.h"
