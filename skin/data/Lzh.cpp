#include "skin/data/Lzh.h"
