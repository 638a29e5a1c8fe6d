#include "skin/data/SkinArchive.h"
