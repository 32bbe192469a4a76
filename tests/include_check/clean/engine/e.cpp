#include "e.h"
