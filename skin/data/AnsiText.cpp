#include "skin/data/AnsiText.h"
