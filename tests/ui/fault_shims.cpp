// Failing stand-ins, defined in the fault test program so that they take the place of the
// libraries' own: QLineEdit::setText, the C library's tan, and the global allocation functions.
// Unarmed, each forwards to the real function (or to malloc and free).
#include "fault_shims.h"

#include <dlfcn.h>

#include <QLineEdit>
#include <cfenv>
#include <cstdlib>
#include <limits>
#include <new>

#include "runtime/errors.h"

namespace orvendale::testing {
Faults faults;
}

namespace {
using orvendale::testing::faults;

bool g_failNextLargeAllocation = false;

template <class Function>
Function real(const char* symbol) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, symbol));
}
}  // namespace

void QLineEdit::setText(const QString& text) {
  using SetText = void (*)(QLineEdit*, const QString&);
  static const auto realSetText = real<SetText>("_ZN9QLineEdit7setTextERK7QString");
  if (faults.failText2) {
    faults.failText2 = false;
    orvendale::raiseError(orvendale::kInvalidArgument);
  }
  realSetText(this, text);
}

extern "C" double tan(double x) {
  static const auto realTan = real<double (*)(double)>("tan");
  if (faults.failCipherAllocation) {
    faults.failCipherAllocation = false;
    g_failNextLargeAllocation = true;  // only the work loop's own code runs until then
  }
  if (faults.failTan) {
    // Fails as the C library does: no exception (tan is noexcept), a NaN and the flag set.
    faults.failTan = false;
    std::feraiseexcept(FE_INVALID);
    return std::numeric_limits<double>::quiet_NaN();
  }
  return realTan(x);
}

void* operator new(std::size_t size) {
  if (g_failNextLargeAllocation && size >= 90) {
    g_failNextLargeAllocation = false;
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size == 0 ? 1 : size)) {
    return memory;
  }
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}
