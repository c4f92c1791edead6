// The few POSIX calls the headless runner makes, for its Windows build: one user, the C library's getpid and getcwd.
#pragma once
#include <unistd.h>

static inline int getuid()
{
    return 0;
}
