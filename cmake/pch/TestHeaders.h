// Test programs add the test framework, the heaviest header they parse.
#pragma once

#include "StandardHeaders.h"

#include <gtest/gtest.h>
