// The history tests' include, until they name the shared support of tests/support directly.
#pragma once
#include "tests/support/file_text.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text.h"
