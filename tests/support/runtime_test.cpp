#include "tests/support/runtime_test.h"
