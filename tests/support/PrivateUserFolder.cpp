// Linked into every test binary: each test process gets a user data folder of its own, so no test
// reads or writes the presets file of whoever runs the tests, and processes running side by side
// never share one.
#include "ProcessUserFolder.h"

namespace
{
const ProcessUserFolder privateUserFolder ("larkspur-test");
} // namespace
