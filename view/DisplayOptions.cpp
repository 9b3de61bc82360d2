#include "DisplayOptions.h"
