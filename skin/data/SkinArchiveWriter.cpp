#include "skin/data/SkinArchiveWriter.h"
