// The Windows and standard headers and the test framework's, precompiled once per tree for the
// tests of windows and programs.
#pragma once
#include "win32.h"
#include <gmock/gmock.h>
#include <gtest/gtest.h>
