#include "skin/data/LzhCompressor.h"
