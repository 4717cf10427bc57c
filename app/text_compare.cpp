#include "app/text_compare.h"

namespace app {

int compare_texts(const char* a, const char* b)
{
    if (!a)
        return (!b || *b == '\0') ? 0 : -1;
    if (!b)
        return *a == '\0' ? 0 : 1;
    auto* left = reinterpret_cast<const unsigned char*>(a);
    auto* right = reinterpret_cast<const unsigned char*>(b);
    for (;; ++left, ++right) {
        if (*left != *right)
            return *left < *right ? -1 : 1;
        if (*left == '\0')
            return 0;
    }
}

}  // namespace app
