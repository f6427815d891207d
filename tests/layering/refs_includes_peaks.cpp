// Must not build: the references sit below the finder that will use them.
#include "peaks/silicon_finder.h"
