#include "skin/data/WinSkinIni.h"
