  #  include "x.h" // spaced
