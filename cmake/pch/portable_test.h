// The standard headers and the test framework's, precompiled once per tree for the tests.
#pragma once
#include "portable.h"
#include <gmock/gmock.h>
#include <gtest/gtest.h>
