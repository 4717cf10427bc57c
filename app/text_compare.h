#pragma once
// The application's text comparison: null is the empty text; bytes compare as unsigned values.

namespace app {

// -1, 0 or 1.
int compare_texts(const char* a, const char* b);

}  // namespace app
