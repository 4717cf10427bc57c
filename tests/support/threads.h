// The number of threads the test program runs now.

#pragma once

namespace test_support {

int process_thread_count();

}  // namespace test_support
