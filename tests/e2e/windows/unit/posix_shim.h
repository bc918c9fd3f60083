// Force-included into the core's unit tests when they are cross-compiled for
// Windows: the few POSIX calls the tests and the recording fake make, which
// the MinGW runtime lacks.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif
char* mkdtemp(char* pattern);
int setenv(const char* name, const char* value, int overwrite);
int unsetenv(const char* name);
#ifdef __cplusplus
}
#endif
