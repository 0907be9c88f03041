#pragma once

class QApplication;

namespace qv70::test {

// The one QApplication of a test program, made on first use (the tests run it
// on the offscreen platform).
QApplication& EnsureApplication();

}  // namespace qv70::test
