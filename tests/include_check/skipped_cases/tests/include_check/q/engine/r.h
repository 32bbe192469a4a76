#include "p.h"
