#include "widgets/TextSelection.h"

#include <algorithm>

namespace varnel {

int clampedPosition(int position, int length)
{
    return std::clamp(position, 0, std::max(length, 0));
}

} // namespace varnel
