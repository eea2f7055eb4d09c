// What every fuzz target does when a property breaks: say which one on
// stderr and abort, so libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void Fail(const char* what) {
  std::fputs(what, stderr);
  std::fputc('\n', stderr);
  std::abort();
}

inline void Check(bool ok, const char* what) {
  if (!ok) Fail(what);
}
